// Writing a whole file without ever leaving it cut short: the bytes go to a
// new file beside it, which then takes its place in one step.
#include "tools/Tools.h"

namespace vantrel {

long WriteWholeFile(FileSystem& files, const std::string& path, const std::string& bytes, std::string* leftBehind) {
    const std::size_t cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    std::string temp;
    long rc = files.CreateUnique(folder, name + ".", bytes, &temp);
    if (rc == 0) rc = files.Replace(temp, path);
    if (rc != 0 && !temp.empty() && files.Delete(temp) != 0 && leftBehind != nullptr) *leftBehind = temp;
    return rc;
}

}  // namespace vantrel
