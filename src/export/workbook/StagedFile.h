#pragma once
// A file written beside its destination and moved into place only when it is
// complete: "<name>.XXXXXX" in the destination's folder, renamed over the
// destination on Commit. Until then the destination keeps its old contents;
// a staged file that is not committed is removed.

#include <optional>
#include <string>

namespace orv::workbook {

class StagedFile {
public:
    // Creates the staging file for `destination`. A destination that is a
    // symbolic link to a file stages beside that file, so that the link stays
    // and the file it names is replaced. nullopt with the plain reason in
    // *reason when the folder cannot take the file (see FileErrorReason).
    static std::optional<StagedFile> Create(const std::string& destination, std::string* reason);

    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    ~StagedFile();

    // The staging file's path, to be written by any means before Commit.
    const std::string& Path() const { return path_; }
    // The file Commit replaces.
    const std::string& Target() const { return target_; }

    // Fills the staging file with a copy of `source`. False with the reason.
    bool CopyFrom(const std::string& source, std::string* reason);
    // Flushes the staging file to disk and renames it over the target, with
    // the target's permissions when it existed (otherwise those a new file
    // gets). False with the reason; the target is then unchanged.
    bool Commit(std::string* reason);

private:
    StagedFile(std::string path, std::string target) : path_(std::move(path)), target_(std::move(target)) {}

    std::string path_;
    std::string target_;
    bool done_ = false;
};

// A reason a user understands for a failed file operation on `path`, from
// its errno value: "the folder does not exist", "the disk is full", ...
std::string FileErrorReason(int error);

}  // namespace orv::workbook
