// How our own reader and writer treat the file system around an INI file:
// paths that are no regular file, links, folders we cannot write, and writers
// killed half way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ino_t Inode(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_ino;
}

// Runs `body` in a child process that gets `seconds` to finish: a call that
// blocks fails the test instead of hanging it. The child's verdict is its
// exit status.
bool FinishesInChild(int seconds, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(static_cast<unsigned>(seconds));
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class IniFilesTest : public ::testing::Test {
protected:
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testing::ScratchFolder folder_;
};

TEST_F(IniFilesTest, PathThatIsNoRegularFileReadsEmptyAtOnceAndIsNotWritten) {
    const std::string fifo = folder_.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string socketPath = folder_.File("socket.ini");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string directory = folder_.File("folder.ini");
    fs::create_directory(directory);
    fs::create_symlink("/dev/zero", folder_.File("zero.ini"));
    fs::create_symlink(fifo, folder_.File("to-fifo.ini"));
    fs::create_symlink(directory, folder_.File("to-folder.ini"));

    for (const char* name :
         {"fifo.ini", "socket.ini", "folder.ini", "zero.ini", "to-fifo.ini", "to-folder.ini"}) {
        const std::string path = folder_.File(name);
        EXPECT_TRUE(FinishesInChild(5, [&path] {
            return ReadIni("s", "k", path).empty() &&
                   !detail::WriteIniReported("s", "k", "v", path);
        })) << name;
    }
    EXPECT_EQ(ReadIni("s", "k", "/dev/null"), "");
    ::close(listener);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_socket(socketPath));
    EXPECT_TRUE(fs::is_empty(directory));
    EXPECT_TRUE(fs::is_symlink(folder_.File("zero.ini")));
    EXPECT_EQ(FolderEntries(),
              (std::vector<std::string>{"fifo.ini", "folder.ini", "socket.ini", "to-fifo.ini",
                                        "to-folder.ini", "zero.ini"}));
}

TEST_F(IniFilesTest, DanglingLinksAreRefusedAndCreateNothing) {
    fs::create_directory(folder_.path() / "real");
    fs::create_symlink("real/settings.ini", folder_.File("relative.ini"));
    fs::create_symlink(folder_.File("relative.ini"), folder_.File("chain.ini"));
    EXPECT_FALSE(detail::WriteIniReported("MAIN", "userName", "first", folder_.File("chain.ini")));
    EXPECT_FALSE(detail::WriteIniReported("MAIN", "rwip", "2", folder_.File("relative.ini")));

    EXPECT_TRUE(fs::is_symlink(folder_.File("chain.ini")));
    EXPECT_TRUE(fs::is_symlink(folder_.File("relative.ini")));
    EXPECT_TRUE(fs::is_empty(folder_.path() / "real"));
}

TEST_F(IniFilesTest, HardLinkedFileIsEditedInPlaceAndKeepsItsLinks) {
    const std::string file = folder_.Write("settings.ini", "[MAIN]\r\nuserName=old\r\n");
    const std::string other = folder_.File("backup-link.ini");
    fs::create_hard_link(file, other);
    const ino_t inode = Inode(file);

    EXPECT_TRUE(detail::WriteIniReported("MAIN", "userName", "much longer than before", file));
    EXPECT_TRUE(detail::WriteIniReported("MAIN", "userName", "short", other));

    EXPECT_EQ(Inode(file), inode);
    EXPECT_EQ(fs::hard_link_count(file), 2u);
    EXPECT_EQ(Bytes(other), "[MAIN]\r\nuserName=short\r\n");
    EXPECT_EQ(Bytes(file), "[MAIN]\r\nuserName=short\r\n");
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"backup-link.ini", "settings.ini"}));
}

// A program folder the user may not write, holding a settings file they may.
TEST_F(IniFilesTest, WritableFileInFolderWeCannotWriteIsEditedInPlace) {
    const std::string file = folder_.Write("settings.ini", "[MAIN]\r\nuserName=old\r\nrwip=1\r\n");
    ::chmod(file.c_str(), 0666);
    ::chmod(folder_.path().c_str(), 0555);
    const ino_t inode = Inode(file);
    EXPECT_TRUE(FinishesInChild(10, [&file] {
        // Root may write any folder, so become nobody for the write.
        if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0) {
            return false;
        }
        return detail::WriteIniReported("MAIN", "userName", "new", file) &&
               detail::WriteIniReported("MAIN", "serverip", "10.0.0.1", file) &&
               !detail::WriteIniReported("MAIN", "k", "v", file + ".new");
    }));
    ::chmod(folder_.path().c_str(), 0755);
    EXPECT_EQ(Bytes(file), "[MAIN]\r\nuserName=new\r\nrwip=1\r\nserverip=10.0.0.1\r\n");
    EXPECT_EQ(Inode(file), inode);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniFilesTest, WriteRemovesTemporaryFilesThatNoWriterHoldsAnyMore) {
    const std::string file = folder_.Write("settings.ini", "[MAIN]\r\nuserName=old\r\n");
    folder_.Write(".settings.ini.tmp4242-17-0", "left by a writer that was killed");
    folder_.Write(".settings.ini.tmp99-1-0-a1B2c3", "left by the fallback naming");
    const std::string inUse = folder_.Write(".settings.ini.tmp7-7-0", "still being written");
    const int holder = ::open(inUse.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    // Names that only look alike are no temporary files of ours.
    folder_.Write(".settings.ini.tmpnotes", "mine");
    folder_.Write(".freq.ini.tmp12-1-0", "another file's");

    EXPECT_TRUE(detail::WriteIniReported("MAIN", "userName", "new", file));
    ::close(holder);
    EXPECT_EQ(FolderEntries(),
              (std::vector<std::string>{".freq.ini.tmp12-1-0", ".settings.ini.tmp7-7-0",
                                        ".settings.ini.tmpnotes", "settings.ini"}));
    EXPECT_EQ(Bytes(file), "[MAIN]\r\nuserName=new\r\n");
}

// 200 writers killed at random moments while rewriting a 200 KB file: the file
// is always one whole version, and after the next write nothing else is left.
TEST_F(IniFilesTest, WritersKilledAtRandomMomentsLeaveNoTornFileAndNoLitter) {
    std::string padding;
    for (int i = 0; padding.size() < 200 * 1024; ++i) {
        padding += "pad" + std::to_string(i) + "=" + std::string(60, 'p') + "\r\n";
    }
    const std::string valueA(40, 'a');
    const std::string valueB(40, 'b');
    const std::string versionA = "[MAIN]\r\nuserName=" + valueA + "\r\n" + padding;
    const std::string versionB = "[MAIN]\r\nuserName=" + valueB + "\r\n" + padding;
    const std::string file = folder_.Write("settings.ini", versionA);

    std::mt19937 random(13);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    int leftovers = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0;; ++n) {
                // Killed at any moment: the parent judges the file.
                (void)WriteIni("MAIN", "userName", n % 2 == 0 ? valueB : valueA, file);
            }
        }
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = Bytes(file);
        ASSERT_TRUE(now == versionA || now == versionB) << "torn after kill " << kill;
        leftovers += FolderEntries().size() > 1 ? 1 : 0;
        // Whatever the kill left, the next write takes it away.
        EXPECT_TRUE(WriteIni("MAIN", "userName", now == versionA ? valueA : valueB, file));
        ASSERT_EQ(FolderEntries(), std::vector<std::string>{"settings.ini"})
            << "after kill " << kill;
    }
    RecordProperty("kills_that_left_a_temporary_file", leftovers);
}

}  // namespace
}  // namespace launcher
