#include "ui/user_files.h"

#include "ui/result_list_commands.h"
#include "ui/site_selection.h"
#include "ui/startup.h"
#include "ui/whole_file.h"

#include "fake_engine/loopback_server.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <map>

namespace shareseek {
namespace {

using namespace control;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

// An environment of the given variables only.
auto environmentOf(std::map<std::string, std::string> variables) {
    return [variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

TEST(UserFiles, PortableKeepsEverythingBesideTheProgram) {
    const UserFiles files = userFilesFor("/opt/ss", true, environmentOf({{"HOME", "/home/ana"}}));
    EXPECT_EQ(files.hostList, FilePath("/opt/ss/_url_.txt"));
    EXPECT_EQ(files.exportFolder, FilePath("/opt/ss"));
    EXPECT_FALSE(files.hostListBeside.has_value());
}

TEST(UserFiles, AnInstalledProgramUsesTheUsersFolders) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        const char* hostList;
        const char* exportFolder;
    };
    const Case cases[] = {
        {"defaults",
         {{"HOME", "/home/ana"}},
         "/home/ana/.local/share/shareseek/_url_.txt",
         "/home/ana/shareseek"},
        {"XDG folders set",
         {{"HOME", "/home/ana"}, {"XDG_DATA_HOME", "/d"}, {"XDG_DOCUMENTS_DIR", "/docs"}},
         "/d/shareseek/_url_.txt",
         "/docs/shareseek"},
        {"relative XDG folders are not used",
         {{"HOME", "/home/ana"}, {"XDG_DATA_HOME", "d"}, {"XDG_DOCUMENTS_DIR", "docs"}},
         "/home/ana/.local/share/shareseek/_url_.txt",
         "/home/ana/shareseek"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UserFiles files = userFilesFor("/usr/bin", false, environmentOf(c.environment));
        EXPECT_EQ(files.hostList, FilePath(c.hostList));
        EXPECT_EQ(files.exportFolder, FilePath(c.exportFolder));
        EXPECT_EQ(files.hostListBeside, FilePath("/usr/bin/_url_.txt"));
    }
}

TEST(UserFiles, TheDocumentsFolderOfUserDirs) {
    const FilePath config = std::filesystem::temp_directory_path() / "shareseek-user-dirs";
    std::filesystem::create_directories(config);
    ASSERT_TRUE(
        writeWholeFile(config / "user-dirs.dirs",
                       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                       "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n"));
    EXPECT_EQ(documentsFolder(
                  environmentOf({{"HOME", "/home/ana"}, {"XDG_CONFIG_HOME", config.native()}})),
              FilePath("/home/ana/文档"));
    std::filesystem::remove_all(config);
}

// Installed: the list saved beside the program is read while the user has no copy, and
// confirming writes the user's copy, which the next start reads.
TEST(UserFiles, AListBesideTheProgramIsReadUntilTheUserHasACopy) {
    const UserFiles files("/home/ana/.local/share/shareseek/_url_.txt", "/home/ana/shareseek",
                          FilePath("/usr/bin/_url_.txt"));
    FakeDesktop desktop;
    desktop.files[FilePath("/usr/bin/_url_.txt")] = "old.com";
    auto controls = std::make_shared<FakeControls>();
    auto session = std::make_shared<SearchSession>(controls);
    struct NoSkins : SkinLibrary {
        void attachRes(const unsigned char*, int, const Text&, int, int, int) override {}
        void setAero(int) override {}
    } skins;
    fake::LoopbackServer noForum([](fake::Connection&) {});
    const auto start = [&] {
        Startup(session, desktop, skins, noForum.hostAndPort(), files).run();
    };
    start();
    EXPECT_EQ(session->extraHosts, T("old.com"));

    struct Window : ExtraSitesOpener, ExtraSitesWindow {
        void openModal(SiteSelection& handlers) override { handlers.confirm(*this); }
        Text hostListText() override { return T("new.com;b.com"); }
        void setHostListText(const Text&) override {}
        void close() override {}
    } window;
    SiteSelection sites(session, desktop, window, files);
    controls->setTicked(选择框1, true);
    sites.otherSites();
    EXPECT_EQ(desktop.files[files.hostList], "new.com;b.com");
    EXPECT_EQ(desktop.files[FilePath("/usr/bin/_url_.txt")], "old.com");
    start();
    EXPECT_EQ(session->extraHosts, T("new.com;b.com"));

    ResultListCommands commands(*controls, desktop, files, "forum.example");
    controls->setText(编辑框1, L(u8"电影"));
    commands.exportAll();
    const FilePath exported("/home/ana/shareseek/电影_导出.txt");
    EXPECT_EQ(desktop.files.count(exported), 1u);
    EXPECT_EQ(desktop.fileManagerPaths.back(), exported);
}

TEST(UserFiles, TheUsersFoldersAreMadeOnFirstUse) {
    const FilePath home = std::filesystem::temp_directory_path() / "shareseek-home";
    std::filesystem::remove_all(home);
    const FilePath file = home / ".local/share/shareseek/_url_.txt";
    ASSERT_TRUE(writeWholeFile(file, "a.com"));
    EXPECT_EQ(readWholeFile(file), Bytes("a.com"));
    std::filesystem::remove_all(home);
}

} // namespace
} // namespace shareseek
