// The program as a user gets it: installed with DESTDIR into a staging
// folder, the tree made read-only, and run by an unprivileged user (nobody
// when the tests run as root) whose home folder is new and empty.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every file of a tree with its size and modification time, to tell whether
// anything was written into it.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        if (lstat(entry.path().c_str(), &info) != 0) continue;
        files[entry.path().string()] = std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
                                       std::to_string(info.st_mtim.tv_nsec);
    }
    return files;
}

class StagedInstall : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/orv-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        stage_ = root_ / "stage";
        home_ = root_ / "home";
        const std::string install = std::string("DESTDIR=") + stage_.string() + " " ORV_CMAKE " --install " +
                                    ORV_BUILD_DIR " --prefix /usr >" + (root_ / "install.log").string() + " 2>&1";
        ASSERT_EQ(std::system(install.c_str()), 0) << ReadFile(root_ / "install.log");
        fs::create_directories(home_);
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
        // Root may write anywhere, so as root the programs run as nobody, who
        // owns only the home folder.
        asRoot_ = geteuid() == 0;
        if (asRoot_) {
            ASSERT_EQ(std::system(("chown nobody:nogroup " + home_.string()).c_str()), 0);
        }
        ASSERT_EQ(std::system(("chmod -R a-w " + stage_.string()).c_str()), 0);
        installed_ = Snapshot(stage_);
    }

    static void TearDownTestSuite() {
        if (root_.empty()) return;
        std::system(("chmod -R u+w " + root_.string()).c_str());
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // Runs the staged orv-desktop with the user's environment reduced to a
    // home folder; returns its exit status, its output in *output.
    int Run(const std::string& arguments, std::string* output) {
        const fs::path log = home_ / "run.log";
        std::string command = "env -i HOME=" + home_.string() + " PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen ";
        if (asRoot_) command = "setpriv --reuid=nobody --regid=nogroup --clear-groups " + command;
        command += (stage_ / "usr/bin/orv-desktop").string() + " " + arguments + " >" + log.string() + " 2>&1";
        const int status = std::system(command.c_str());
        *output = ReadFile(log);
        EXPECT_EQ(Snapshot(stage_), installed_) << "the installed tree was written to by: " << arguments;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static inline fs::path root_, stage_, home_;
    static inline bool asRoot_ = false;
    static inline std::map<std::string, std::string> installed_;
};

TEST_F(StagedInstall, LaysOutProgramModuleAndDesktopFiles) {
    const char* const files[] = {
        "usr/bin/orv-desktop",
        "usr/lib/orv/ORVUnits.upg",
        "usr/lib/orv/orv-print",
        "usr/lib/orv/export_tmp_values.xlsx",
        "usr/lib/orv/export_tmp_struct.xlsx",
        "usr/share/applications/org.orv.Desktop.desktop",
        "usr/share/metainfo/org.orv.Desktop.metainfo.xml",
        "usr/share/icons/hicolor/scalable/apps/orv-desktop.svg",
        "usr/share/man/man1/orv-desktop.1.gz",
    };
    for (const char* file : files) EXPECT_TRUE(fs::is_regular_file(stage_ / file)) << file;
    for (const char* program : {"usr/bin/orv-desktop", "usr/lib/orv/orv-print"})
        EXPECT_EQ(access((stage_ / program).c_str(), X_OK), 0) << program;
}

// The first start creates the user's database in the user's data folder.
TEST_F(StagedInstall, RunsReadOnlyAsUnprivilegedUserWithTheDatabaseInTheirDataFolder) {
    std::string output;
    ASSERT_EQ(Run("--screenshot " + (home_ / "shots").string(), &output), 0) << output;
    const fs::path db = home_ / ".local/share/orv/orv.sqlite";
    EXPECT_TRUE(fs::is_regular_file(db)) << output;
    EXPECT_TRUE(fs::is_regular_file(home_ / "shots/page-values.png")) << output;

    const fs::path workbook = home_ / "values.xlsx";
    ASSERT_EQ(Run("--db " + db.string() + " --export-values " + workbook.string(), &output), 0) << output;
    EXPECT_EQ(ReadFile(workbook).substr(0, 2), "PK") << "a workbook is a zip package";
}

}  // namespace
