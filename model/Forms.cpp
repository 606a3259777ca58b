// The two windows of the program as data tables. Positions and sizes are in
// twips, relative to the container. The renderer creates the controls in
// table order, so that order is also the tab order: the navigation tree comes
// before every other control that can take the keyboard focus.
#include "model/Forms.h"

#include <iterator>

#include "resources/product.h"

namespace vantrel {

namespace {

using K = ControlKind;

// Constant tables, so that the exe holds them as data rather than as code
// that builds them.
constexpr ControlDef kForm1Controls[] = {
        // The white band across the top, with the logo at its right end.
        {"Label2", K::Band, "", "", 0, 0, 9855, 615},
        {"Image1", K::Image, "", "", 8880, 0, 750, 555},
        // The navigation tree in its "Settings" frame: first in the tab order.
        {"Frame1", K::Frame, "Settings", "", 120, 600, 2655, 6015},
        {"TreeView1", K::TreeView, "", "Frame1", 120, 240, 2415, 5655},
        // Section buttons on the band, left to right.
        {"Command2", K::Button, "General", "", 120, 120, 975, 375},
        {"Command3", K::Button, "Input", "", 1200, 120, 975, 375},
        {"Command4", K::Button, "Folders", "", 2280, 120, 975, 375},
        {"Command8", K::Button, "Taskbar", "", 3360, 120, 975, 375},
        {"Command1", K::Button, "Internet", "", 4440, 120, 975, 375},
        {"Command5", K::Button, "Logon", "", 5520, 120, 975, 375},
        {"Command6", K::Button, "Accessibility", "", 6600, 120, 975, 375},
        {"Command7", K::Button, "About", "", 7680, 120, 975, 375},
        // The pages, all at the same place and hidden until navigation
        // shows one; each frame is followed by its controls.
        {"Frame3", K::Frame, "General", "", 2880, 600, 6855, 6015, false},
        {"Label3", K::Label, "You are in the General section of Vantrel, here you can find out information about your instalation of Windows XP, change and set a password, change are boot screen and many other things!", "Frame3", 120, 240, 6615, 735},
        {"Label8", K::HeadingLabel, "Windows Information:", "Frame3", 120, 1080, 2415, 255},
        {"Label4", K::Label, "Here you can find out general information about your current install of Windows XP.", "Frame3", 240, 1440, 6375, 255},
        {"Label10", K::HeadingLabel, "Explorer:", "Frame3", 120, 1800, 2295, 255},
        {"Label6", K::Label, "Here you can change some general options specific to your Windows XP Shell.", "Frame3", 240, 2160, 6375, 255},
        {"Label11", K::HeadingLabel, "Startup:", "Frame3", 120, 2640, 1575, 255},
        {"Label7", K::Label, "Here you can change your startup and logon screen and edit your boot.ini file.", "Frame3", 240, 3000, 6015, 255},

        {"Frame4", K::Frame, "Windows Information", "", 2880, 600, 6855, 6015, false},
        {"Label12", K::HeadingLabel, "Windows Directory:", "Frame4", 120, 360, 1695, 255},
        {"Label13", K::Label, "Label13", "Frame4", 1800, 360, 4935, 255},
        {"Label14", K::HeadingLabel, "Product Name:", "Frame4", 120, 720, 1335, 255},
        {"Label15", K::Label, "Label15", "Frame4", 1800, 720, 4935, 255},
        {"Label16", K::HeadingLabel, "Organization:", "Frame4", 120, 1080, 1335, 255},
        {"Label17", K::Label, "Label17", "Frame4", 1800, 1080, 4935, 255},
        {"Label18", K::HeadingLabel, "Owner:", "Frame4", 120, 1440, 975, 255},
        {"Label19", K::Label, "Label19", "Frame4", 1800, 1440, 4935, 255},
        {"Label20", K::HeadingLabel, "Version:", "Frame4", 120, 1800, 1215, 255},
        {"Label21", K::Label, "Label21", "Frame4", 1800, 1800, 4815, 255},
        {"Label22", K::HeadingLabel, "System Root:", "Frame4", 120, 2160, 1455, 255},
        {"Label23", K::Label, "Label23", "Frame4", 1800, 2160, 4695, 255},
        {"Label24", K::HeadingLabel, "Build Number:", "Frame4", 120, 2520, 1575, 255},
        {"Label25", K::Label, "Label25", "Frame4", 1800, 2520, 4815, 255},
        {"Label26", K::HeadingLabel, "CSD Version:", "Frame4", 120, 2880, 1455, 255},
        {"Label27", K::Label, "Label27", "Frame4", 1800, 2880, 4815, 255},
        {"Label28", K::Label, "Description:  The Information here is simply information about your current instalation of Microsoft Windows XP.", "Frame4", 120, 3360, 6615, 495},

        {"Frame5", K::Frame, "Explorer", "", 2880, 600, 6855, 6015, false},
        {"Label1", K::HeadingLabel, "General:", "Frame5", 120, 240, 855, 255},
        {"Line1", K::Line, "", "Frame5", 840, 360, 6000, 0},
        {"Check1", K::CheckBox, "Enable Net Send", "Frame5", 240, 480, 2175, 315},
        {"Check2", K::CheckBox, "Enable Auto Complete", "Frame5", 240, 840, 2055, 315},
        {"Check3", K::CheckBox, "Enable Balloon Tips", "Frame5", 240, 1200, 2175, 255},
        {"Check4", K::CheckBox, "Show Hidden Files and Folders", "Frame5", 240, 1560, 2895, 255},
        {"Check5", K::CheckBox, "Hide file extension of known file types", "Frame5", 240, 1920, 6135, 255},
        {"Text1", K::TextBox, "", "Frame5", 240, 2280, 735, 285},
        {"Label30", K::Label, "days between desktop cleanup", "Frame5", 1080, 2280, 2295, 285},
        {"Label44", K::Label, "Registered To:", "Frame5", 240, 2640, 1455, 255},
        {"Text19", K::TextBox, "", "Frame5", 240, 2880, 6375, 285},
        {"Label46", K::Label, "Organization:", "Frame5", 240, 3240, 1455, 255},
        {"Text21", K::TextBox, "", "Frame5", 240, 3480, 6375, 285},
        {"Label29", K::HeadingLabel, "Search:", "Frame5", 120, 3840, 735, 255},
        {"Line2", K::Line, "", "Frame5", 720, 3960, 6120, 0},
        {"Check6", K::CheckBox, "Case Sensitive", "Frame5", 240, 4080, 5895, 255},
        {"Check7", K::CheckBox, "Include Sub-Folders in search", "Frame5", 240, 4440, 4215, 255},
        {"Check8", K::CheckBox, "Search hidden files and folders", "Frame5", 240, 4800, 3855, 255},
        {"Check9", K::CheckBox, "Search System Directories", "Frame5", 240, 5160, 3855, 255},
        {"Label31", K::Label, "Description: These are general options that effect your Windows Shell.", "Frame5", 120, 5640, 6615, 255},

        {"Frame2", K::Frame, "Startup", "", 2880, 600, 6855, 6015, false},
        {"Label32", K::HeadingLabel, "Load Screens:", "Frame2", 120, 240, 1335, 255},
        {"Line3", K::Line, "", "Frame2", 1320, 360, 5520, 0},
        {"Label33", K::Label, "Boot Screen:", "Frame2", 240, 480, 1095, 255},
        {"Text2", K::TextBox, "", "Frame2", 240, 720, 3615, 285},
        {"Command9", K::Button, "Browse...", "Frame2", 3960, 720, 855, 255},
        {"Command10", K::Button, "Change Boot Screen", "Frame2", 4920, 720, 1815, 255},
        {"Label34", K::Label, "Logon Screen:", "Frame2", 240, 1080, 1575, 255},
        {"Text3", K::TextBox, "", "Frame2", 240, 1320, 3615, 285},
        {"Command11", K::Button, "Browse...", "Frame2", 3960, 1320, 855, 255},
        {"Command12", K::Button, "Change Logon Screen", "Frame2", 4920, 1320, 1815, 255},
        {"Label35", K::HeadingLabel, "Note: You must be in Safe Mode in order to change your Boot and/or your Logon Screen. Also when you change your boot screen a copy of the file \"ntoskrnl.exe\" is put on your C:\\ drive. When you change your boot screen a copy of your \"logonui.exe\" file is also placed on your C:\\ drive. Please use this feature with caution!", "Frame2", 240, 1680, 6495, 975},
        {"Label36", K::HeadingLabel, "Boot.ini:", "Frame2", 120, 2760, 855, 255},
        {"Line4", K::Line, "", "Frame2", 840, 2880, 6000, 0},
        {"Label37", K::HeadingLabel, "Use with caution!", "Frame2", 240, 3000, 2055, 255},
        {"Text4", K::MultiLineText, "", "Frame2", 240, 3240, 6375, 1935},
        {"Command13", K::Button, "Save Changes Made to Boot.ini", "Frame2", 240, 5280, 6375, 495},

        {"Frame6", K::Frame, "Input", "", 2880, 600, 6855, 6015, false},
        {"Label5", K::Label, "In the Input section you can edit the settings for your mouse and keyboard.", "Frame6", 120, 240, 6495, 255},
        {"Label9", K::HeadingLabel, "Mouse:", "Frame6", 120, 600, 975, 255},
        {"Label38", K::Label, "In the Mouse section you can edit the settings for your mouse such as: sensitivity, snapping etc.", "Frame6", 240, 960, 6375, 375},
        {"Label39", K::HeadingLabel, "Keyboard:", "Frame6", 120, 1560, 2175, 255},
        {"Label40", K::Label, "In the Keyboard section you can edit the settings for your keyboard such as: repeat delay and repeat rate.", "Frame6", 240, 1920, 6255, 375},

        {"Frame7", K::Frame, "Mouse", "", 2880, 600, 6855, 6015, false},
        {"Label41", K::HeadingLabel, "Mouse Hand:", "Frame7", 120, 240, 1455, 255},
        {"Line5", K::Line, "", "Frame7", 1200, 360, 5640, 0},
        {"Option1", K::OptionButton, "Left Handed", "Frame7", 240, 480, 2535, 255},
        {"Option2", K::OptionButton, "Right Handed", "Frame7", 240, 840, 2535, 255},
        {"Label42", K::HeadingLabel, "Mouse Snapping:", "Frame7", 120, 1200, 1575, 255},
        {"Line6", K::Line, "", "Frame7", 1560, 1320, 5280, 0},
        {"Check10", K::CheckBox, "Enable Mouse Snapping", "Frame7", 240, 1440, 2655, 375},
        {"Label43", K::HeadingLabel, "Mouse Trails:", "Frame7", 120, 1800, 1335, 255},
        {"Line7", K::Line, "", "Frame7", 1200, 1920, 5640, 0},
        {"Slider1", K::Slider, "", "Frame7", 120, 2040, 6615, 555, true, 0, 7},
        {"Label45", K::HeadingLabel, "Mouse Sensitivity:", "Frame7", 120, 3000, 1575, 255},
        {"Line8", K::Line, "", "Frame7", 1680, 3120, 5160, 0},
        {"Slider2", K::Slider, "", "Frame7", 240, 3240, 6495, 615, true, 0, 20},
        {"Label47", K::Label, "Description: Mouse Hand: Depending on wheather you are left or right handed you can change the mouse hand. Mouse Snapping: When a dialog box comes up, your mouse will snap to the default button if mouse snapping is enabled. Mouse Trails: if mouse trails are enabled you will see a trail of your mouse when you move it. Mouse Sensitivity: mouse sensitivity is how fast your mouse moves across your screen.", "Frame7", 120, 4200, 6615, 1095},

        {"Frame8", K::Frame, "Keyboard", "", 2880, 600, 6855, 6015, false},
        {"Label48", K::HeadingLabel, "Repeat Delay:", "Frame8", 120, 360, 2055, 255},
        {"Line9", K::Line, "", "Frame8", 1320, 480, 5520, 0},
        {"Slider3", K::Slider, "", "Frame8", 240, 600, 6495, 495, true, 0, 4},
        {"Label50", K::HeadingLabel, "Repeat Rate:", "Frame8", 120, 1440, 1695, 255},
        {"Line10", K::Line, "", "Frame8", 1200, 1560, 5640, 0},
        {"Slider4", K::Slider, "", "Frame8", 240, 1680, 6495, 615, true, 0, 20},
        {"Label52", K::Label, "Description: Repeat Delay: The repeat delay is how long it takes before when you hold down a key how long it takes for the letter to start repeating. The repeat rate is once the letter is repeating how long it takes for each letter to appear.", "Frame8", 120, 2640, 6615, 735},

        {"Frame9", K::Frame, "Folders", "", 2880, 600, 6855, 6015, false},
        {"Label53", K::Label, "Folders are where everything in Windows is stored, folders are generally used for organization. In this portion of Vantrel you can change your personal folders locations.", "Frame9", 120, 360, 6615, 495},
        {"Label54", K::HeadingLabel, "Personal Folders:", "Frame9", 240, 960, 2175, 255},
        {"Label55", K::Label, "In this area you can change the location of your Personal Folders. Personal Folders consist of: Application Data, Cookies, Desktop, Favorites, History and My Pictures etc.", "Frame9", 360, 1320, 6375, 495},

        {"Frame10", K::Frame, "Personal Folders:", "", 2880, 600, 6855, 6015, false},
        {"Label56", K::Label, "Change the location of your personal folders. Personal folders are user specific.", "Frame10", 120, 360, 6375, 255},
        {"Label57", K::HeadingLabel, "Personal Folders:", "Frame10", 120, 720, 2535, 255},
        {"Line16", K::Line, "", "Frame10", 1560, 840, 5280, 0},
        {"Label62", K::Label, "AppData:", "Frame10", 240, 1080, 735, 255},
        {"Text5", K::TextBox, "", "Frame10", 1200, 1080, 5535, 285},
        {"Label59", K::Label, "Desktop:", "Frame10", 240, 1440, 855, 255},
        {"Text7", K::TextBox, "", "Frame10", 1200, 1440, 5535, 285},
        {"Label61", K::Label, "Favorites:", "Frame10", 240, 1800, 855, 255},
        {"Text8", K::TextBox, "", "Frame10", 1200, 1800, 5535, 285},
        {"Label63", K::Label, "My Pictures:", "Frame10", 240, 2160, 975, 255},
        {"Text10", K::TextBox, "", "Frame10", 1200, 2160, 5535, 285},
        {"Label64", K::Label, "Programs:", "Frame10", 240, 2520, 1095, 255},
        {"Text11", K::TextBox, "", "Frame10", 1200, 2520, 5535, 285},
        {"Label65", K::Label, "Recent:", "Frame10", 240, 2880, 1215, 255},
        {"Text12", K::TextBox, "", "Frame10", 1200, 2880, 5535, 285},
        {"Label66", K::Label, "Send To:", "Frame10", 240, 3240, 855, 255},
        {"Text13", K::TextBox, "", "Frame10", 1200, 3240, 5535, 285},
        {"Label67", K::Label, "Start Menu:", "Frame10", 240, 3600, 975, 255},
        {"Text14", K::TextBox, "", "Frame10", 1200, 3600, 5535, 285},
        {"Label68", K::Label, "Startup:", "Frame10", 240, 3960, 855, 255},
        {"Text15", K::TextBox, "", "Frame10", 1200, 3960, 5535, 285},
        {"Label69", K::Label, "When you change the location of any personal folders it may be a good idea to make sure the folder you are changing it to already exists. Also it is a good idea to make backups.", "Frame10", 120, 4440, 6615, 495},

        {"Frame12", K::Frame, "Taskbar:", "", 2880, 600, 6855, 6015, false},
        {"Label72", K::Label, "In this section you can change the items that appear in your Start Menu simply by checking or unchecking the items.", "Frame12", 120, 360, 6375, 375},
        {"Label73", K::HeadingLabel, "General Options:", "Frame12", 120, 840, 2175, 255},
        {"Label74", K::Label, "Here is where you can change the ammount of Start Menu items that appear in your Start Menu.", "Frame12", 240, 1200, 6135, 495},

        {"Frame11", K::Frame, "General Options", "", 2880, 600, 6855, 6015, false},
        {"Label49", K::Label, "Checked items are enabled in the Start Menu", "Frame11", 120, 360, 4335, 255},
        {"List1", K::CheckListBox, "", "Frame11", 120, 720, 6495, 3210},
        {"Label51", K::Label, "Description: The items in this list if they are checked will appear in your Windows XP Start Menu.", "Frame11", 120, 4080, 6495, 495},

        {"Frame13", K::Frame, "Internet", "", 2880, 600, 6855, 6015, false},
        {"Label75", K::Label, "In this area you can change the settings for Internet Explorer only. You can change things like general options and you can also edit your caching options.", "Frame13", 120, 360, 6375, 495},
        {"Label76", K::HeadingLabel, "Internet Options:", "Frame13", 120, 960, 1935, 255},
        {"Label77", K::Label, "In this area you can achange settings for Internet Explorer such as: notifying when downloads are complete, reusing windows etc. Internet Explorer Only!", "Frame13", 240, 1320, 6375, 495},
        {"Label78", K::HeadingLabel, "Caching:", "Frame13", 120, 1920, 1575, 255},
        {"Label79", K::Label, "In the Caching section you can set the amount of days between when Internet Explorer automatically clears your History, or you can clear your History manually. You can also delete Cookies and delete your Temporary Internet Files.", "Frame13", 240, 2280, 6255, 615},

        {"Frame14", K::Frame, "Internet Options", "", 2880, 600, 6855, 6015, false},
        {"Label80", K::HeadingLabel, "General Options:", "Frame14", 120, 360, 2295, 255},
        {"Line12", K::Line, "", "Frame14", 1440, 480, 5400, 0},
        {"Check11", K::CheckBox, "Enable/Disable Full Screen on Startup", "Frame14", 240, 720, 3015, 255},
        {"Check12", K::CheckBox, "Use Search Assist", "Frame14", 240, 1080, 3135, 195},
        {"Check13", K::CheckBox, "Enable/Disable Script Debugger", "Frame14", 240, 1440, 3495, 195},
        {"Check14", K::CheckBox, "Enable/Disable Auto Image Resize", "Frame14", 240, 1800, 2895, 195},
        {"Check15", K::CheckBox, "Use Form Suggest", "Frame14", 240, 2160, 3135, 195},
        {"Check16", K::CheckBox, "Notification when downloads are complete", "Frame14", 240, 2520, 3375, 195},
        {"Check17", K::CheckBox, "Play Animations", "Frame14", 240, 2880, 3135, 195},
        {"Check18", K::CheckBox, "Print Backgrounds", "Frame14", 240, 3240, 2775, 195},
        {"Check19", K::CheckBox, "Show Go Button", "Frame14", 240, 3600, 3255, 195},
        {"Label81", K::HeadingLabel, "Other Options:", "Frame14", 120, 3960, 1575, 255},
        {"Line11", K::Line, "", "Frame14", 1320, 4080, 5520, 0},
        {"Label82", K::Label, "Home Page:", "Frame14", 240, 4320, 975, 255},
        {"Text16", K::TextBox, "", "Frame14", 1440, 4320, 5175, 285},
        {"Label83", K::Label, "Search Page", "Frame14", 240, 4800, 1095, 255},
        {"Text17", K::TextBox, "", "Frame14", 1440, 4800, 5175, 285},
        {"Label84", K::Label, "Download Dir", "Frame14", 240, 5280, 975, 255},
        {"Text18", K::TextBox, "", "Frame14", 1440, 5280, 5175, 285},

        {"Frame15", K::Frame, "Caching:", "", 2880, 600, 6855, 6015, false},
        {"Label85", K::HeadingLabel, "Caching Options:", "Frame15", 120, 360, 1815, 255},
        {"Line13", K::Line, "", "Frame15", 1560, 480, 5280, 0},
        {"Command14", K::Button, "Clear History", "Frame15", 240, 720, 6375, 375},
        {"Command15", K::Button, "Delete Cookies", "Frame15", 240, 1200, 6375, 375},
        {"Command16", K::Button, "Delete Temporary Internet Files", "Frame15", 240, 1680, 6375, 375},
        {"Label87", K::Label, "Description:  Cookies are what Internet Explorer uses to store information about the websites you visit. Example: If you login to a site and cookies are enbled on that site you will not have to log in to the site.anymore, you will be automatically logged in when you return. The Temporary Internet Files (TIF) files are what Internet Explorer uses so it doesen't have to download every image everytime you return to a website. It is intended for dial-up users.", "Frame15", 120, 2280, 6615, 1095},

        {"Frame16", K::Frame, "Logon", "", 2880, 600, 6855, 6015, false},
        {"Label92", K::Label, "These options are specific to your user, and your user alone, any options you change here will not effect any other users on your computer. The Logon options are options you can change that strt with your computer and general options about your user.", "Frame16", 120, 240, 6495, 735},
        {"Label90", K::HeadingLabel, "Startup Items:", "Frame16", 120, 1080, 2295, 255},
        {"Label91", K::Label, "Startup Items are what starts up right away when you either startup Windows or logon to Windows. Here you can change the programs that starrtup automatically or even add items.", "Frame16", 240, 1320, 6375, 615},

        {"Frame17", K::Frame, "Startup Items:", "", 2880, 600, 6855, 6015, false},
        {"Label93", K::HeadingLabel, "Current User Start Up Items:", "Frame17", 120, 240, 3735, 255},
        {"Line14", K::Line, "", "Frame17", 2520, 360, 4320, 0},
        {"List3", K::ListBox, "", "Frame17", 120, 480, 6615, 2205},
        {"Command18", K::Button, "Remove Item", "Frame17", 120, 2760, 3255, 375},
        {"Command19", K::Button, "Add Item", "Frame17", 3480, 2760, 3255, 375},
        {"Label88", K::HeadingLabel, "Local Machine Startup Items:", "Frame17", 120, 3240, 2655, 255},
        {"Line20", K::Line, "", "Frame17", 2640, 3360, 4200, 0},
        {"List2", K::ListBox, "", "Frame17", 120, 3480, 6615, 1815},
        {"Command20", K::Button, "Remove Item", "Frame17", 120, 5400, 3255, 375},
        {"Command17", K::Button, "Add Item", "Frame17", 3480, 5400, 3255, 375},

        {"Frame18", K::Frame, "Accessibility:", "", 2880, 600, 6855, 6015, false},
        {"Label94", K::HeadingLabel, "Accessibility Options:", "Frame18", 120, 360, 3135, 255},
        {"Label89", K::Label, "Accessibility options include: Magnifier, Narrator and an On-Screen Keyboard. These tools are designed for the visually impared.", "Frame18", 240, 720, 6375, 495},

        {"Frame19", K::Frame, "Accessibility Options:", "", 2880, 600, 6855, 6015, false},
        {"Label95", K::HeadingLabel, "General:", "Frame19", 120, 360, 1695, 255},
        {"Line15", K::Line, "", "Frame19", 840, 480, 6000, 0},
        {"Check21", K::CheckBox, "Run Magnifier with Windows startup", "Frame19", 240, 720, 3375, 195},
        {"Check22", K::CheckBox, "Run Narrator with Windows startup", "Frame19", 240, 1080, 3255, 195},
        {"Check23", K::CheckBox, "Run On-Screen Keyboard with Windows Startup", "Frame19", 240, 1440, 4095, 195},
        {"Option3", K::OptionButton, "Check All", "Frame19", 240, 1920, 3015, 255},
        {"Option4", K::OptionButton, "Uncheck All", "Frame19", 240, 2280, 3015, 255},

        {"Frame20", K::Frame, "About:", "", 2880, 600, 6855, 6015, false},
        {"Label96", K::Label, "Application:     " VANTREL_PRODUCT, "Frame20", 120, 360, 5775, 255},
        {"Label97", K::Label, "Version:          " VANTREL_VERSION, "Frame20", 120, 600, 6495, 255, false},
        {"Label98", K::Label, "Author:           " VANTREL_COMPANY, "Frame20", 120, 840, 6495, 255},
        // The web site line names the maker's home page, the address the "Visit Corvane" menu opens.
        {"Label99", K::Label, "Website:          " VANTREL_HOME_PAGE, "Frame20", 120, 1080, 6615, 255},
        {"Label100", K::Label, "Contact:          support@corvane.com", "Frame20", 120, 1320, 6615, 255},
        {"Label101", K::Label, "Vantrel should only be run (as it has only been tested) on Windows XP Home/Professional Editions, Service Pack 1 included. Seeing as Vantrel does edit your registry, it is always a good idea to backup your registry and any important files.", "Frame20", 120, 1680, 6615, 615},

        {"Frame21", K::Frame, "E-Mail Security", "", 2880, 600, 6855, 6015, false},
        {"Label58", K::HeadingLabel, "General:", "Frame21", 120, 240, 975, 255},
        {"Line17", K::Line, "", "Frame21", 840, 360, 5880, 0},
        {"Check20", K::CheckBox, "Strip images out of E-Mails (Outlook 2002 onlu)", "Frame21", 240, 600, 4695, 255},
        {"Check24", K::CheckBox, "Empty trash on exit (Outlook 2003 only)", "Frame21", 240, 960, 5175, 255},
        {"Label60", K::HeadingLabel, "Security Zone:", "Frame21", 120, 1320, 1455, 255},
        {"Line18", K::Line, "", "Frame21", 1440, 1440, 5400, 0},
        {"Label70", K::Label, "Security Zones allows you to customize wheather scripts can be run in active HTML E-Mails. (Outlook 2003 Tested)", "Frame21", 240, 1560, 6495, 495},
        {"Combo1", K::ComboBox, "", "Frame21", 240, 2040, 6495, 315},
        {"Label71", K::HeadingLabel, "Mail Security:", "Frame21", 120, 2520, 2055, 255},
        {"Line19", K::Line, "", "Frame21", 1200, 2640, 5640, 0},
        {"Check25", K::CheckBox, "HTTP Mail Prompt for Password?", "Frame21", 240, 2760, 3735, 255},
        {"Check26", K::CheckBox, "Check26", "Frame21", 240, 3120, 4935, 255},
        {"Label86", K::Label, "SMTP Display Name:", "Frame21", 240, 3480, 1695, 255},
        {"Text6", K::TextBox, "", "Frame21", 1800, 3480, 4935, 285},
        // The Windows 10 and 11 pages: Group Policy settings of those systems,
        // each box the policy's own name (see settings/ModernWindowsRows.cpp),
        // and the mouse's acceleration.
        {"Frame22", K::Frame, "Windows 10 and 11", "", 2880, 600, 6855, 6015, false},
        {"Label102", K::Label, "In this section you can set the Group Policy settings of Windows 10 and Windows 11 that people change most, and the acceleration of the mouse pointer. Each is written where Windows reads it; View > Settings Status tells where each takes effect.", "Frame22", 120, 240, 6615, 735},
        {"Label103", K::HeadingLabel, "Search and Start:", "Frame22", 120, 1080, 2415, 255},
        {"Label104", K::Label, "Web results in Search, recent search entries in File Explorer and the Recommended section of Start.", "Frame22", 240, 1440, 6375, 375},
        {"Label105", K::HeadingLabel, "Privacy and suggestions:", "Frame22", 120, 1920, 2415, 255},
        {"Label106", K::Label, "The diagnostic data level, Copilot, Recall, tailored experiences, Microsoft consumer experiences and the advertising ID.", "Frame22", 240, 2280, 6375, 375},
        {"Label107", K::HeadingLabel, "Widgets and spotlight:", "Frame22", 120, 2760, 3255, 255},
        {"Label108", K::Label, "Widgets, Windows spotlight on the lock screen and elsewhere, and Windows tips.", "Frame22", 240, 3120, 6375, 375},
        {"Label109", K::HeadingLabel, "Mouse pointer:", "Frame22", 120, 3600, 2415, 255},
        {"Label110", K::Label, "The acceleration of the mouse pointer, which takes effect at once.", "Frame22", 240, 3960, 6375, 375},
        {"Label111", K::Label, "A grayed box is a policy that is not configured: the value is absent and Windows decides. A checked box is Enabled and a cleared one Disabled, as in the Group Policy editor; a click goes through the three.", "Frame22", 120, 4560, 6615, 735},

        {"Frame23", K::Frame, "Search and Start", "", 2880, 600, 6855, 6015, false},
        {"Label112", K::HeadingLabel, "Search:", "Frame23", 120, 240, 855, 255},
        {"Line21", K::Line, "", "Frame23", 840, 360, 6000, 0},
        {"Check27", K::CheckBox, "Don't search the web or display web results in Search", "Frame23", 240, 600, 6495, 255, true, 0, kEnablingCycle},
        {"Check28", K::CheckBox, "Turn off display of recent search entries in the File Explorer search box", "Frame23", 240, 960, 6495, 255, true, 0, kPolicyCycle},
        {"Label113", K::HeadingLabel, "Start:", "Frame23", 120, 1440, 855, 255},
        {"Line22", K::Line, "", "Frame23", 720, 1560, 6120, 0},
        {"Check29", K::CheckBox, "Remove Recommended section from Start Menu", "Frame23", 240, 1800, 6495, 255, true, 0, kEnablingCycle},
        {"Label114", K::Label, "Description: These are Group Policy settings. A grayed box is Not configured, a checked box Enabled and a cleared one Disabled; a click goes through the three. A policy without a Disabled setting goes between Not configured and Enabled. The search entries are those of File Explorer's search box.", "Frame23", 120, 2400, 6615, 975},

        {"Frame24", K::Frame, "Privacy and suggestions", "", 2880, 600, 6855, 6015, false},
        {"Label115", K::HeadingLabel, "Diagnostic data:", "Frame24", 120, 240, 1575, 255},
        {"Line23", K::Line, "", "Frame24", 1560, 360, 5280, 0},
        {"Label116", K::Label, "Allow Diagnostic Data:", "Frame24", 240, 600, 2535, 255},
        {"Combo2", K::ComboBox, "Not configured\n0 - Diagnostic data off (not recommended)\n1 - Send required diagnostic data\n2 - Enhanced\n3 - Send optional diagnostic data", "Frame24", 240, 840, 6495, 315},
        {"Label117", K::HeadingLabel, "Copilot and Recall:", "Frame24", 120, 1320, 1815, 255},
        {"Line24", K::Line, "", "Frame24", 1800, 1440, 5040, 0},
        {"Check30", K::CheckBox, "Turn off Windows Copilot", "Frame24", 240, 1680, 6495, 255, true, 0, kPolicyCycle},
        {"Check31", K::CheckBox, "Turn off saving snapshots for use with Recall", "Frame24", 240, 2040, 6495, 255, true, 0, kEnablingCycle},
        {"Label118", K::HeadingLabel, "Suggestions and advertising:", "Frame24", 120, 2520, 2655, 255},
        {"Line25", K::Line, "", "Frame24", 2640, 2640, 4200, 0},
        {"Check32", K::CheckBox, "Do not use diagnostic data for tailored experiences", "Frame24", 240, 2880, 6495, 255, true, 0, kPolicyCycle},
        {"Check33", K::CheckBox, "Turn off Microsoft consumer experiences", "Frame24", 240, 3240, 6495, 255, true, 0, kPolicyCycle},
        {"Check34", K::CheckBox, "Turn off the advertising ID", "Frame24", 240, 3600, 6495, 255, true, 0, kEnablingCycle},
        {"Label119", K::Label, "Description: These are Group Policy settings; Not configured leaves the choice to Windows and its users. The Copilot policy does not govern the newer Copilot app, and Recall saves snapshots only on Copilot+ PCs.", "Frame24", 120, 4080, 6615, 735},

        {"Frame25", K::Frame, "Widgets and spotlight", "", 2880, 600, 6855, 6015, false},
        {"Label120", K::HeadingLabel, "Widgets:", "Frame25", 120, 240, 855, 255},
        {"Line26", K::Line, "", "Frame25", 840, 360, 6000, 0},
        {"Check35", K::CheckBox, "Allow widgets", "Frame25", 240, 600, 6495, 255, true, 0, kPolicyCycle},
        {"Label121", K::HeadingLabel, "Windows spotlight and tips:", "Frame25", 120, 1080, 2535, 255},
        {"Line27", K::Line, "", "Frame25", 2520, 1200, 4320, 0},
        {"Check36", K::CheckBox, "Turn off all Windows spotlight features", "Frame25", 240, 1440, 6495, 255, true, 0, kPolicyCycle},
        {"Check37", K::CheckBox, "Do not suggest third-party content in Windows spotlight", "Frame25", 240, 1800, 6495, 255, true, 0, kPolicyCycle},
        {"Check38", K::CheckBox, "Do not show Windows tips", "Frame25", 240, 2160, 6495, 255, true, 0, kPolicyCycle},
        {"Check39", K::CheckBox, "Turn off Windows Spotlight on Settings", "Frame25", 240, 2520, 6495, 255, true, 0, kPolicyCycle},
        {"Label122", K::Label, "Description: These are Group Policy settings. Turning off all Windows spotlight features turns off Windows spotlight on the lock screen, Windows tips and Microsoft consumer features together. Clearing \"Allow widgets\" turns widgets off.", "Frame25", 120, 3000, 6615, 735},

        {"Frame26", K::Frame, "Mouse pointer", "", 2880, 600, 6855, 6015, false},
        {"Label123", K::HeadingLabel, "Mouse acceleration:", "Frame26", 120, 240, 1815, 255},
        {"Line28", K::Line, "", "Frame26", 1800, 360, 5040, 0},
        {"Combo3", K::ComboBox, "No acceleration\nDouble the pointer's speed above the first threshold\nDouble above the first threshold, quadruple above the second", "Frame26", 240, 600, 6495, 315},
        {"Label124", K::Label, "Description: When the mouse moves faster than the first threshold, Windows doubles the distance the pointer moves; with the last choice it doubles it again above the second threshold. The thresholds stay as they are. A change takes effect at once.", "Frame26", 120, 1200, 6615, 735},

        // Bottom right of the window, and the Open dialog component.
        {"Command21", K::Button, "Exit Vantrel", "", 6600, 6600, 1575, 495},
        {"apply", K::Button, "Apply Changes", "", 8160, 6600, 1575, 495},
        {"CommonDialog1", K::FileDialog, "", "", 0, 0, 0, 0, false},
};

constexpr MenuDef kForm1Menus[] = {
        {"file", "File", "", ""},
        {"home", "Home", "file", "Ctrl+H"},
        {"bar1", "-", "file", ""},
        {"sc", "Save Changes", "file", "Ctrl+S"},
        // Review, undo and carry settings.
        {"bar3", "-", "file", ""},
        {"review", "Review Changes...", "file", ""},
        {"restore", "Restore Backup...", "file", ""},
        {"export", "Export Settings...", "file", ""},
        {"import", "Import Settings...", "file", ""},
        {"gpexport", "Export for Group Policy...", "file", ""},
        {"others", "Apply to Other Users...", "file", ""},
        {"bar2", "-", "file", ""},
        {"exit", "Exit", "file", "Ctrl+E"},
        {"view", "View", "", ""},
        {"gen", "General", "view", ""},
        {"wi", "Windows Information", "gen", "Ctrl+W"},
        {"exp", "Explorer", "gen", "Ctrl+X"},
        {"start", "Startup", "gen", "Ctrl+T"},
        {"input", "Input", "view", ""},
        {"mouse", "Mouse", "input", "Ctrl+M"},
        {"key", "Keyboard", "input", "Ctrl+K"},
        {"fold", "Folders", "view", ""},
        {"pf", "Personal Folders", "fold", "Ctrl+P"},
        {"task", "Taskbar", "view", ""},
        {"go", "General Options", "task", "Ctrl+G"},
        {"int", "Internet", "view", ""},
        {"io", "Internet Options", "int", "Ctrl+I"},
        {"ch", "Caching", "int", "Ctrl+L"},
        {"log", "Logon", "view", ""},
        {"si", "Startup Items", "log", "Ctrl+R"},
        {"access", "Accessibility", "view", ""},
        {"ao", "Accessibility Options", "access", "Ctrl+U"},
        {"about", "About", "view", ""},
        {"w10", "Windows 10 and 11", "view", ""},
        {"w10search", "Search and Start", "w10", ""},
        {"w10privacy", "Privacy and suggestions", "w10", ""},
        {"w10spotlight", "Widgets and spotlight", "w10", ""},
        {"w10mouse", "Mouse pointer", "w10", ""},
        // Whether each setting takes effect on this Windows.
        {"bar4", "-", "view", ""},
        {"status", "Settings Status...", "view", ""},
        {"vnt", "Vantrel", "", ""},
        {"vco", "Visit Corvane", "vnt", ""},
        {"cfvntu", "Check For Vantrel Update", "vnt", ""},
};

FormDef buildForm1()
{
    return {"Form1", "Vantrel - Version 2.0 -A", 9840, 7095, {std::begin(kForm1Controls), std::end(kForm1Controls)},
            {std::begin(kForm1Menus), std::end(kForm1Menus)}};
}

FormDef buildForm2()
{
    FormDef form{"Form2", "Form2", 5475, 285, {}, {}};
    form.controls = {
        {"ProgressBar1", K::ProgressBar, "", "", 120, 0, 5295, 255, true, 0, 100},
        // Ticks every millisecond; the interval is kept in max.
        {"Timer1", K::Timer, "", "", 0, 0, 0, 0, false, 0, 1},
    };
    return form;
}

}  // namespace

const FormDef& Form1Def()
{
    static const FormDef form = buildForm1();
    return form;
}

const FormDef& Form2Def()
{
    static const FormDef form = buildForm2();
    return form;
}

}  // namespace vantrel
