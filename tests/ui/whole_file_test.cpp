#include "ui/whole_file.h"

#include "ui/result_list_commands.h"
#include "ui/site_selection.h"
#include "ui/startup.h"

#include "fake_engine/loopback_server.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace shareseek {
namespace {

namespace fs = std::filesystem;
using namespace control;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

// A folder of its own under the system's temporary folder, removed at the end; others may
// enter it, so that a test can act in it as another user.
class TempFolder {
public:
    TempFolder() {
        std::string name = (fs::temp_directory_path() / "shareseek-test-XXXXXX").native();
        path_ = ::mkdtemp(name.data()) ? fs::path(name) : fs::path();
        fs::permissions(path_, fs::perms(0755));
    }
    ~TempFolder() {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Desktop services whose files are real files on disk.
class DiskDesktop : public FakeDesktop {
public:
    std::optional<Bytes> readFile(const FilePath& path) override { return readWholeFile(path); }
    bool writeFile(const FilePath& path, const Bytes& bytes) override {
        return writeWholeFile(path, bytes);
    }
};

// Runs `act` as a user who may not write where root may: as "nobody" in a child process
// when we are root (root writes through any mode bits), else as ourselves.
bool asUnprivilegedUser(const std::function<bool()>& act) {
    if (::geteuid() != 0)
        return act();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(act() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFile, EveryFileOfTheProgramLivesInAFolderNamedOutsideCodePage936) {
    for (const char* folderName : {"Müll", "中文", "ö 中文 ü"}) {
        SCOPED_TRACE(folderName);
        TempFolder temp;
        const fs::path runDirectory = temp.path() / folderName;
        fs::create_directory(runDirectory);
        DiskDesktop desktop;
        auto controls = std::make_shared<FakeControls>();
        auto session = std::make_shared<SearchSession>(controls);

        // 确定 in the extra-sites window saves the list...
        struct Window : ExtraSitesOpener, ExtraSitesWindow {
            Text text = T("a.com;b.com");
            bool closed = false;
            void openModal(SiteSelection& handlers) override { handlers.confirm(*this); }
            Text hostListText() override { return text; }
            void setHostListText(const Text& t) override { text = t; }
            void close() override { closed = true; }
        } window;
        SiteSelection sites(session, desktop, window, runDirectory);
        controls->setTicked(选择框1, true);
        sites.otherSites();
        EXPECT_TRUE(window.closed);
        EXPECT_TRUE(desktop.messages().empty());
        EXPECT_EQ(readWholeFile(runDirectory / "_url_.txt"), Bytes("a.com;b.com"));

        // ...the next start loads it...
        fake::LoopbackServer noForum([](fake::Connection&) {});
        session->extraHosts = Text();
        struct NoSkins : SkinLibrary {
            void attachRes(const unsigned char*, int, const Text&, int, int, int) override {}
            void setAero(int) override {}
        } skins;
        Startup(session, desktop, skins, noForum.hostAndPort(), runDirectory).run();
        EXPECT_EQ(session->extraHosts, T("a.com;b.com"));

        // ...and an export lands beside it, named by the keyword.
        ResultListCommands commands(*controls, desktop, runDirectory, "forum.example");
        controls->setText(编辑框1, L(u8"电影"));
        commands.exportAll();
        const fs::path exported = runDirectory / "电影_导出.txt";
        EXPECT_EQ(readWholeFile(exported), toBytes(L(u8"筛选后：\r\n\r\n")));
        EXPECT_EQ(desktop.messages().back().text, L(u8"导出成功！"));
        EXPECT_EQ(desktop.fileManagerPaths.back(), exported);
    }
}

TEST(WholeFile, ReplacesTheFileWholeAndLeavesNothingBesideIt) {
    TempFolder temp;
    const fs::path file = temp.path() / "f.txt";
    EXPECT_FALSE(readWholeFile(file).has_value());
    ASSERT_TRUE(writeWholeFile(file, Bytes("first, longer\0content", 21)));
    ASSERT_TRUE(writeWholeFile(file, Bytes("2nd")));
    EXPECT_EQ(readWholeFile(file), Bytes("2nd"));
    EXPECT_EQ(entriesOf(temp.path()), std::vector<fs::path>{"f.txt"});
    fs::permissions(file, fs::perms(0640));
    ASSERT_TRUE(writeWholeFile(file, Bytes("3rd")));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640)) << "the mode is kept";
}

TEST(WholeFile, ASymbolicLinkIsWrittenThroughToItsTarget) {
    TempFolder temp;
    fs::create_directory(temp.path() / "kept");
    fs::create_directory(temp.path() / "run");
    const fs::path target = temp.path() / "kept" / "hosts.txt";
    ASSERT_TRUE(writeWholeFile(target, Bytes("old")));
    const fs::path link = temp.path() / "run" / "_url_.txt";
    fs::create_symlink("../kept/hosts.txt", link);

    ASSERT_TRUE(writeWholeFile(link, Bytes("a.com;b.com")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readWholeFile(target), Bytes("a.com;b.com"));
    EXPECT_EQ(entriesOf(temp.path() / "run"), std::vector<fs::path>{"_url_.txt"});
}

TEST(WholeFile, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
    TempFolder temp;
    const fs::path folder = temp.path() / "locked";
    fs::create_directory(folder);
    const fs::path writable = folder / "_url_.txt";
    const fs::path readOnly = folder / "other.txt";
    ASSERT_TRUE(writeWholeFile(writable, Bytes("old list")));
    ASSERT_TRUE(writeWholeFile(readOnly, Bytes("keep")));
    fs::permissions(writable, fs::perms(0666));
    fs::permissions(readOnly, fs::perms(0444));
    fs::permissions(folder, fs::perms(0555));

    EXPECT_TRUE(asUnprivilegedUser([&] { return writeWholeFile(writable, Bytes("new")); }));
    EXPECT_EQ(readWholeFile(writable), Bytes("new"));
    // Neither the folder nor the file lets us: a failure, said as such, and nothing changed.
    EXPECT_FALSE(asUnprivilegedUser([&] { return writeWholeFile(readOnly, Bytes("x")); }));
    EXPECT_FALSE(
        asUnprivilegedUser([&] { return writeWholeFile(folder / "new.txt", Bytes("x")); }));
    EXPECT_EQ(readWholeFile(readOnly), Bytes("keep"));
    EXPECT_EQ(entriesOf(folder), (std::vector<fs::path>{"_url_.txt", "other.txt"}));
}

} // namespace
} // namespace shareseek
