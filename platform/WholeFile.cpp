// Writing whole files without ever leaving one cut short or lost: the bytes
// go to a new file beside each, which then takes its place in one step.
#include "platform/WholeFile.h"

#include "platform/Wording.h"

namespace vantrel {

namespace {

// ReplaceFile's codes for a replace that stopped half way (Microsoft Learn,
// "ReplaceFileA function (winbase.h)", Return value).
constexpr long kUnableToRemoveReplaced = 1175;    // both files keep their names
constexpr long kUnableToMoveReplacement = 1176;   // with a backup name: both keep their names
constexpr long kUnableToMoveReplacement2 = 1177;  // the old file is under the backup name
constexpr long kFileExists = 80;
constexpr long kAlreadyExists = 183;

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A name beside the new file for the target's old bytes while it is
// replaced: "<prefix><digits>.old" for "<prefix><digits>.tmp", one nobody holds.
std::string OldBytesName(FileSystem& files, const std::string& temp) {
    const std::string stem = temp.size() > 4 ? temp.substr(0, temp.size() - 4) : temp;
    std::string name = stem + ".old";
    for (int n = 2; files.Exists(name); ++n) name = stem + "." + std::to_string(n) + ".old";
    return name;
}

// Removes a file the write made; false when it is still there.
bool Removed(FileSystem& files, const std::string& path) {
    return path.empty() || files.Delete(path) == 0 || !files.Exists(path);
}

class Writer {
public:
    Writer(FileSystem& files, std::size_t count) : files_(files), temps_(count) {}

    // The new files, each beside its target.
    bool WriteAll(const std::vector<WholeFile>& targets) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const long error = files_.CreateUnique(FolderOf(targets[i].path), NameOf(targets[i].path) + ".",
                                                   targets[i].bytes, &temps_[i]);
            if (error == 0) continue;
            // What was written of this one is not whole: it goes.
            if (!Removed(files_, temps_[i])) result_.leftBehind.push_back(temps_[i]);
            temps_[i].clear();
            Fail(targets[i].path, error, WholeFilesWritten::Step::Write, i);
            return false;
        }
        return true;
    }

    bool ReplaceAll(const std::vector<WholeFile>& targets, const BeforeReplace& beforeReplace) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const std::string& target = targets[i].path;
            if (beforeReplace) {
                if (const long error = beforeReplace(target)) {
                    Fail(target, error, WholeFilesWritten::Step::Prepare, i);
                    return false;
                }
            }
            if (!ReplaceOne(target, i)) return false;
        }
        return true;
    }

    WholeFilesWritten& result() { return result_; }

private:
    bool ReplaceOne(const std::string& target, std::size_t i) {
        const std::string& temp = temps_[i];
        const bool existed = files_.Exists(target);
        const std::string old = existed ? OldBytesName(files_, temp) : std::string();
        const long error = files_.Replace(temp, target, old);
        if (error == 0) {
            result_.replaced.push_back(target);
            if (!Removed(files_, old) ) result_.leftBehind.push_back(old);
            return true;
        }
        result_.error = error;
        result_.step = WholeFilesWritten::Step::Replace;
        result_.failed = target;
        result_.oldData = existed ? target : std::string();
        switch (error) {
        case kUnableToRemoveReplaced:
        case kUnableToMoveReplacement:
            // Both files keep their names: nothing is removed.
            result_.newData = temp;
            break;
        case kUnableToMoveReplacement2:
            // The old bytes are under the other name: they go back to the
            // target's, if they can; nothing is removed.
            result_.newData = temp;
            if (files_.Move(old, target) != 0) result_.oldData = old;
            break;
        default:
            // Both keep their names: the target holds what it held.
            if (!Removed(files_, temp)) result_.newData = temp;
            break;
        }
        RemoveFrom(i + 1);
        return false;
    }

    void Fail(const std::string& target, long error, WholeFilesWritten::Step step, std::size_t at) {
        result_.error = error;
        result_.step = step;
        result_.failed = target;
        if (files_.Exists(target)) result_.oldData = target;
        if (!temps_[at].empty() && !Removed(files_, temps_[at])) result_.newData = temps_[at];
        for (std::size_t i = 0; i < at; ++i) {
            if (!Removed(files_, temps_[i])) result_.leftBehind.push_back(temps_[i]);
        }
        RemoveFrom(at + 1);
    }

    void RemoveFrom(std::size_t first) {
        for (std::size_t i = first; i < temps_.size(); ++i) {
            if (!Removed(files_, temps_[i])) result_.leftBehind.push_back(temps_[i]);
        }
    }

    FileSystem& files_;
    std::vector<std::string> temps_;
    WholeFilesWritten result_;
};

}  // namespace

WholeFilesWritten WriteWholeFiles(FileSystem& files, const std::vector<WholeFile>& targets,
                                  const BeforeReplace& beforeReplace) {
    for (const WholeFile& target : targets) {
        std::uint32_t attributes = 0;
        if (files.GetAttributes(target.path, &attributes) != 0) continue;  // not there: a new file
        const long code = (attributes & fileattr::kDirectory) ? filecode::kIsAFolder
                          : (attributes & (fileattr::kDevice | fileattr::kReparsePoint)) ? filecode::kNotAPlainFile
                                                                                        : 0;
        if (code != 0) {
            WholeFilesWritten refused;
            refused.error = code;
            refused.step = WholeFilesWritten::Step::Target;
            refused.failed = target.path;
            return refused;
        }
    }
    Writer writer(files, targets.size());
    if (writer.WriteAll(targets)) writer.ReplaceAll(targets, beforeReplace);
    return writer.result();
}

WholeFilesWritten WriteWholeFile(FileSystem& files, const std::string& path, const std::string& bytes) {
    return WriteWholeFiles(files, {{path, bytes}});
}

WholeFilesWritten WriteNewFile(FileSystem& files, const std::string& folder,
                               const std::function<std::string(int)>& name, const std::string& bytes) {
    WholeFilesWritten result;
    const std::string first = folder + "\\" + name(1);
    std::string temp;
    if (const long error = files.CreateUnique(folder, name(1) + ".", bytes, &temp)) {
        result.error = error;
        result.failed = first;
        if (!Removed(files, temp)) result.leftBehind.push_back(temp);
        return result;
    }
    constexpr int kNames = 1000;
    long error = kAlreadyExists;
    for (int n = 1; n <= kNames && (error == kAlreadyExists || error == kFileExists); ++n) {
        const std::string next = name(n);
        if (next.empty()) break;
        result.failed = folder + "\\" + next;
        error = files.Move(temp, result.failed);
    }
    if (error == 0) {
        result.replaced.push_back(result.failed);
        result.failed.clear();
        return result;
    }
    result.error = error;
    result.step = WholeFilesWritten::Step::Replace;
    if (!Removed(files, temp)) result.newData = temp;
    return result;
}

std::string WhereTheDataIs(const WholeFilesWritten& w) {
    std::string text;
    auto add = [&](const std::string& sentence) { text += (text.empty() ? "" : " ") + sentence; };
    if (!w.failed.empty() && w.step == WholeFilesWritten::Step::Target) {
        add("Nothing was written.");
    } else if (!w.failed.empty()) {
        const std::string target = Quoted(w.failed);
        const std::string newData = w.newData.empty() ? std::string() : Quoted(w.newData);
        if (w.oldData == w.failed) {
            add(newData.empty() ? target + " still holds the old data; the new data was not kept."
                                : target + " still holds the old data; the new data is in " + newData + ".");
        } else if (w.oldData.empty()) {
            add(newData.empty() ? target + " was not written; the new data was not kept."
                                : target + " was not written; the new data is in " + newData + ".");
        } else {
            add(target + " is missing now: the old data is in " + Quoted(w.oldData) +
                (newData.empty() ? ". Rename it to " : " and the new data in " + newData + ". Rename one of them to ") +
                Quoted(NameOf(w.failed)) + ".");
        }
    }
    for (const std::string& file : w.leftBehind) add("The file " + Quoted(file) + " could not be removed; you can delete it.");
    return text;
}

}  // namespace vantrel
