// Writing whole files without ever leaving one cut short: the bytes go to a
// new file beside each, which then takes its place in one step.
#include "platform/WholeFile.h"

namespace vantrel {

WholeFilesWritten WriteWholeFiles(FileSystem& files, const std::vector<WholeFile>& targets) {
    WholeFilesWritten result;
    std::vector<std::string> temps;
    auto fail = [&](const std::string& target, long error, std::size_t firstTemp) {
        result.error = error;
        result.failed = target;
        for (std::size_t i = firstTemp; i < temps.size(); ++i) {
            if (!temps[i].empty() && files.Delete(temps[i]) != 0) result.leftBehind.push_back(temps[i]);
        }
        return result;
    };
    for (const WholeFile& target : targets) {
        const std::size_t cut = target.path.find_last_of("\\/");
        const std::string folder = cut == std::string::npos ? std::string() : target.path.substr(0, cut);
        const std::string name = cut == std::string::npos ? target.path : target.path.substr(cut + 1);
        std::string temp;
        const long error = files.CreateUnique(folder, name + ".", target.bytes, &temp);
        temps.push_back(temp);
        if (error != 0) return fail(target.path, error, 0);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (const long error = files.Replace(temps[i], targets[i].path)) return fail(targets[i].path, error, i);
        result.replaced.push_back(targets[i].path);
    }
    return result;
}

long WriteWholeFile(FileSystem& files, const std::string& path, const std::string& bytes, std::string* leftBehind) {
    const WholeFilesWritten written = WriteWholeFiles(files, {{path, bytes}});
    if (leftBehind != nullptr && !written.leftBehind.empty()) *leftBehind = written.leftBehind.front();
    return written.error;
}

}  // namespace vantrel
