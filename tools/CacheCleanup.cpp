// Internet cache cleanup: each button removes one of the current user's
// Internet Explorer folders by starting the command interpreter, which ends
// once the folder is gone. The folder comes from the user's Shell Folders
// key, or the Windows XP layout under the profile when the key lacks it, and
// must lie inside the profile folder: a folder anywhere else, the profile
// itself or a drive root is refused before anything is started. So is a
// folder with a character that the interpreter would read as more than a
// path: a quote, % or ! (expansions), ^ (its escape) or a control character.
// The interpreter runs without its AutoRun commands (/d) and with delayed
// expansion off (/v:off).
#include <cctype>
#include <vector>

#include "registry/RegistryRoutines.h"
#include "tools/Tools.h"

namespace vantrel {

namespace {

constexpr char kShellFoldersPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct CacheRow {
    CacheFolder folder;
    const char* valueName;  // under Shell Folders
    const char* xpLayout;   // below the profile folder, when the value is absent
    int windowStyle;        // 0 hidden, 2 minimized with the focus
};

constexpr CacheRow kRows[] = {
    {CacheFolder::History, "History", "Local Settings\\History", 0},
    {CacheFolder::Cookies, "Cookies", "Cookies", 0},
    {CacheFolder::TemporaryInternetFiles, "Cache", "Local Settings\\Temporary Internet Files", 2},
};

const CacheRow& RowOf(CacheFolder folder) {
    for (const CacheRow& row : kRows) {
        if (row.folder == folder) return row;
    }
    return kRows[0];
}

// The path's components, lower-cased, as Windows reads them (either slash,
// repeated separators ignored, trailing dots and blanks dropped). False when
// a component reads as empty, ".", or "..", which could lead elsewhere.
bool Components(const std::string& path, std::vector<std::string>* parts) {
    std::string part;
    auto flush = [&]() {
        if (part.empty()) return true;
        std::string name = part;
        part.clear();
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (name.empty()) return false;
        parts->push_back(name);
        return true;
    };
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!flush()) return false;
        } else {
            part += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return flush();
}

bool IsDrive(const std::string& component) { return component.size() == 2 && component[1] == ':'; }

// Whether the folder's path reaches cmd's command line unchanged.
bool PlainForCommandLine(const std::string& folder) {
    for (char c : folder) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '"' || c == '%' || c == '!' || c == '^') return false;
    }
    return true;
}

// A folder strictly inside the profile folder, both absolute paths on a drive.
bool InsideProfile(const std::string& folder, const std::string& profile) {
    std::vector<std::string> inner, outer;
    if (!Components(folder, &inner) || !Components(profile, &outer)) return false;
    if (outer.size() < 2 || !IsDrive(outer[0])) return false;  // no profile, or a drive root
    if (inner.size() <= outer.size()) return false;
    for (std::size_t i = 0; i < outer.size(); ++i) {
        if (inner[i] != outer[i]) return false;
    }
    return true;
}

}  // namespace

void ClearCache(Services& services, CacheFolder which) {
    const CacheRow& row = RowOf(which);
    const std::string profile = services.environment.ProfileFolder();
    std::string folder = GetString(services.registry, reg::kCurrentUser, kShellFoldersPath, row.valueName);
    if (folder.empty()) folder = profile + "\\" + row.xpLayout;
    std::string prompt;
    if (!PlainForCommandLine(folder)) {
        prompt = "The folder \"" + folder +
                 "\" contains a character that the command interpreter would not take as part of a folder name "
                 "(a quote, %, !, ^ or a control character), so it was not removed.";
    } else if (!InsideProfile(folder, profile)) {
        prompt = "The folder \"" + folder + "\" is not inside your profile folder \"" + profile +
                 "\", so it was not removed.";
    }
    if (!prompt.empty()) {
        services.dialogs.MessageBox(prompt, "Error", mb::kExclamation);
        return;
    }
    std::string commandLine = "cmd /d /v:off /c  rd /s /q \"";
    commandLine.append(folder).append("\"");
    services.shell.Run(commandLine, row.windowStyle);
}

}  // namespace vantrel
