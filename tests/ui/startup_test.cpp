#include "ui/startup.h"

#include "fake_engine/loopback_server.h"
#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <chrono>

namespace shareseek {
namespace {

using namespace control;
using namespace std::chrono_literals;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

// Records what the startup sequence asked of the skin library.
struct RecordingSkins : SkinLibrary {
    struct Attach {
        bool null;
        int length;
        Bytes bytes;
    };
    std::vector<Attach> attaches;
    std::vector<int> aero;
    void attachRes(const unsigned char* skin, int length, const Text& password, int a, int b,
                   int c) override {
        EXPECT_TRUE(password.empty());
        EXPECT_EQ(a | b | c, 0);
        attaches.push_back(
            {skin == nullptr, length,
             skin ? Bytes(reinterpret_cast<const char*>(skin), static_cast<std::size_t>(length))
                  : Bytes()});
    }
    void setAero(int enabled) override { aero.push_back(enabled); }
};

// A forum whose update page holds `page` (code page 936 bytes).
class Forum {
public:
    explicit Forum(std::string page)
        : page_(std::move(page)), server_([this](fake::Connection& c) {
              if (const auto request = c.readRequest()) {
                  path_ = request->substr(4, request->find(' ', 4) - 4);
                  c.send(fake::httpResponse(page_));
              }
          }) {}
    std::string host() const { return server_.hostAndPort(); }
    std::string path() const { return path_; }

private:
    std::string page_;
    std::string path_;
    fake::LoopbackServer server_;
};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() { controls->setText(标签4, T("1")); }

    bool start(const std::string& forumHost) {
        Startup startup(session, desktop, skins, forumHost, FilePath("/run"),
                        {.connectTimeout = 1000ms, .stallTimeout = 1s, .totalTimeout = 2s});
        return startup.run();
    }
    static std::string updatePage(std::u8string_view between) {
        return (literal(u8"<p>最新版本→") + literal(between) + literal(u8"←完毕！</p>")).bytes();
    }

    std::shared_ptr<FakeControls> controls = std::make_shared<FakeControls>();
    std::shared_ptr<SearchSession> session = std::make_shared<SearchSession>(controls);
    FakeDesktop desktop;
    RecordingSkins skins;
};

TEST_F(StartupTest, TheUpdateCheck) {
    struct Case {
        const char* name;
        std::u8string_view between;
        bool asked;
        const char8_t* label;
    };
    const Case cases[] = {
        {"a newer version", u8"2", true, u8"2"},
        {"the same version", u8"1", false, u8"1"},
        {"a space and a digit", u8" 3", true, u8" 3"},
        {"letters count as 0", u8"新版", false, u8"新版"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forum forum(updatePage(c.between));
        FakeDesktop own;
        Startup startup(session, own, skins, forum.host(), FilePath("/run"));
        EXPECT_TRUE(startup.run()); // unanswered questions answer No: the start goes on
        EXPECT_EQ(forum.path(), "/thread-27065-1-1.html");
        EXPECT_EQ(controls->text(标签5), L(c.label));
        EXPECT_EQ(own.messages().size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(own.messages()[0].text,
                      L(u8"当前网盘搜索灵匣软件已经有了更新，进入下载地址下载赶紧更新吧"));
            EXPECT_EQ(own.messages()[0].buttons, MessageButtons::yesNo);
        }
        EXPECT_TRUE(own.openedAddresses.empty());
    }
}

TEST_F(StartupTest, YesOpensTheDownloadPageAndEndsTheStart) {
    Forum forum(updatePage(u8"2"));
    desktop.answerNext(MessageAnswer::yes);
    EXPECT_FALSE(start(forum.host()));
    EXPECT_EQ(desktop.openedAddresses,
              std::vector<Text>{T("http://" + forum.host() + "/thread-27068-1-1.html")});
    EXPECT_EQ(session->checkBoxTable[0], ControlName()); // the later steps did not run
}

TEST_F(StartupTest, NoForumMeansNoQuestionWithinTheTimeOut) {
    fake::LoopbackServer closed([](fake::Connection&) {});
    const std::string host = closed.hostAndPort();
    closed.stop();
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(start(host));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 3s);
    EXPECT_EQ(controls->text(标签5), T(""));
    EXPECT_TRUE(desktop.messages().empty());

    fake::LoopbackServer silent([](fake::Connection& c) { c.waitForStop(); });
    const auto stalled = std::chrono::steady_clock::now();
    EXPECT_TRUE(start(silent.hostAndPort()));
    EXPECT_LT(std::chrono::steady_clock::now() - stalled, 4s);
}

TEST_F(StartupTest, ARandomSkinFromZeroToThirtyThree) {
    Forum forum(updatePage(u8"1"));
    desktop.drawNext(0);
    start(forum.host());
    desktop.drawNext(7);
    start(forum.host());
    ASSERT_EQ(desktop.ranges.size(), 2u);
    EXPECT_EQ(desktop.ranges[0], (std::pair<int, int>{0, 33}));
    ASSERT_EQ(skins.attaches.size(), 2u);
    EXPECT_TRUE(skins.attaches[0].null);
    EXPECT_EQ(skins.attaches[0].length, 0);
    EXPECT_FALSE(skins.attaches[1].null);
    EXPECT_EQ(skins.attaches[1].bytes, skinBytes(7));
    EXPECT_EQ(skins.aero, (std::vector<int>{1, 1}));
}

TEST_F(StartupTest, LoadsTheSavedExtraHostsAndFillsTheCheckBoxTable) {
    struct Case {
        const char* name;
        std::optional<Bytes> file;
        Text expected;
    };
    const Case cases[] = {
        {"two hosts", Bytes("a.com;b.com"), T("a.com;b.com")},
        {"a zero byte ends the list", Bytes("a.com\0b.com", 11), T("a.com")},
        {"no file", std::nullopt, T("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forum forum(updatePage(u8"1"));
        desktop.files.clear();
        if (c.file)
            desktop.files[FilePath("/run/_url_.txt")] = *c.file;
        EXPECT_TRUE(start(forum.host()));
        EXPECT_EQ(session->extraHosts, c.expected);
    }
    EXPECT_EQ(session->checkBoxTable[12], ControlName(u8"选择框_城通"));
    EXPECT_EQ(session->checkBoxTable[13], ControlName(u8"选择框_vdisk"));
}

TEST(Skins, EveryOneParsesAndKeepsEveryTextLegible) {
    const Rgb blue{0, 0, 255}; // the count label
    for (int number = 1; number <= skinCount; ++number) {
        SCOPED_TRACE(number);
        const Bytes bytes = skinBytes(number);
        EXPECT_TRUE(bytes.starts_with(".SHE"));
        const auto skin = parseSkin(bytes);
        ASSERT_TRUE(skin.has_value());
        EXPECT_GE(contrastRatio(skin->window, skin->windowText), 7.0);
        EXPECT_GE(contrastRatio(skin->window, blue), 3.0);
        EXPECT_GE(contrastRatio(skin->base, skin->text), 7.0);
        EXPECT_GE(contrastRatio(skin->button, skin->buttonText), 7.0);
        EXPECT_GE(contrastRatio(skin->highlight, skin->highlightedText), 4.5);
    }
    EXPECT_TRUE(skinBytes(0).empty());
    EXPECT_TRUE(skinBytes(34).empty());
    EXPECT_FALSE(parseSkin(Bytes("not a skin")).has_value());
    EXPECT_FALSE(parseSkin(Bytes(".SHE\nwindow=#ffffff\n")).has_value());
}

} // namespace
} // namespace shareseek
