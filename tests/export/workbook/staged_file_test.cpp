// Staged writes: the destination keeps its old contents until a complete
// file is moved over it, and nothing is left behind either way.

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include "WorkbookFiles.h"
#include "export/workbook/StagedFile.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using workbook::StagedFile;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StagedFile, TheTargetChangesOnlyOnCommitAndKeepsItsPermissions) {
    test::ScratchDir dir;
    const std::string target = dir.File("values.xlsx");
    std::ofstream(target) << "old";
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::string reason;
    {
        auto staged = StagedFile::Create(target, &reason);
        ASSERT_TRUE(staged) << reason;
        EXPECT_EQ(fs::path(staged->Path()).parent_path(), fs::path(target).parent_path());
        std::ofstream(staged->Path()) << "half";
        EXPECT_EQ(Contents(target), "old");
    }  // not committed: removed
    EXPECT_EQ(Listing(dir.File("")), std::vector<std::string>{"values.xlsx"});
    EXPECT_EQ(Contents(target), "old");

    auto staged = StagedFile::Create(target, &reason);
    ASSERT_TRUE(staged) << reason;
    std::ofstream(staged->Path()) << "new";
    ASSERT_TRUE(staged->Commit(&reason)) << reason;
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(Listing(dir.File("")), std::vector<std::string>{"values.xlsx"});
}

TEST(StagedFile, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
    test::ScratchDir dir;
    fs::create_directory(dir.File("real"));
    const std::string file = dir.File("real/values.xlsx");
    std::ofstream(file) << "old";
    fs::create_symlink(file, dir.File("link.xlsx"));
    std::string reason;
    auto staged = StagedFile::Create(dir.File("link.xlsx"), &reason);
    ASSERT_TRUE(staged) << reason;
    ASSERT_TRUE(staged->CopyFrom(dir.File("real/values.xlsx"), &reason)) << reason;
    std::ofstream(staged->Path(), std::ios::app) << "+new";
    ASSERT_TRUE(staged->Commit(&reason)) << reason;
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xlsx")));
    EXPECT_EQ(Contents(file), "old+new");
}

// Destinations a staged file cannot be made for, with the reason a user reads.
TEST(StagedFile, RefusedDestinationsNameThePlainReasonAndLeaveTheOldFile) {
    // Case, what makes the destination (and returns it), reason, whether it is
    // tried as another user (permissions bind root only through another
    // file-system user).
    const std::tuple<const char*, std::function<std::string(const test::ScratchDir&)>, const char*, bool> cases[] = {
        {"missing folder", [](const test::ScratchDir& d) { return d.File("missing/values.xlsx"); },
         "the folder does not exist", false},
        {"read-only folder",
         [](const test::ScratchDir& d) {
             fs::permissions(d.File(""), fs::perms(0755));
             fs::create_directory(d.File("locked"));
             std::ofstream(d.File("locked/values.xlsx")) << "old";
             fs::permissions(d.File("locked"), fs::perms(0555));
             return d.File("locked/values.xlsx");
         },
         "there is no permission to write in the folder", true},
        {"a folder",
         [](const test::ScratchDir& d) {
             fs::create_directory(d.File("values.xlsx"));
             return d.File("values.xlsx");
         },
         "a folder of that name exists", false},
        {"a named pipe",
         [](const test::ScratchDir& d) {
             ::mkfifo(d.File("pipe.xlsx").c_str(), 0600);
             return d.File("pipe.xlsx");
         },
         "it is not a regular file", false},
    };
    for (const auto& [name, prepare, expected, asOtherUser] : cases) {
        test::ScratchDir dir;
        const std::string destination = prepare(dir);
        const bool root = asOtherUser && ::geteuid() == 0;
        if (root) ::setfsuid(65534);
        std::string reason;
        const bool created = StagedFile::Create(destination, &reason).has_value();
        if (root) ::setfsuid(0);
        EXPECT_EQ(std::pair(created, reason), std::pair(false, std::string(expected))) << name;
        if (asOtherUser) {
            EXPECT_EQ(Contents(destination), "old");
            EXPECT_EQ(Listing(dir.File("locked")), std::vector<std::string>{"values.xlsx"});
            fs::permissions(dir.File("locked"), fs::perms(0755));
        }
    }
}

}  // namespace
}  // namespace orv
