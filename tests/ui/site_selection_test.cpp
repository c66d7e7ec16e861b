#include "ui/site_selection.h"

#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"

#include <gtest/gtest.h>

#include <functional>

namespace shareseek {
namespace {

using namespace control;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

// An extra-sites window in memory: opening it runs its created event, then `user` acts.
class FakeExtraSites : public ExtraSitesOpener, public ExtraSitesWindow {
public:
    std::function<void(SiteSelection&, FakeExtraSites&)> user;
    int opened = 0;
    bool open = false;
    Text text;

    void openModal(SiteSelection& handlers) override {
        ++opened;
        open = true;
        handlers.showList(*this);
        if (user)
            user(handlers, *this);
    }
    Text hostListText() override { return text; }
    void setHostListText(const Text& t) override { text = t; }
    void close() override { open = false; }
};

class Sites : public ::testing::Test {
protected:
    Sites() {
        for (const Site& site : siteCatalogue())
            session->checkBoxTable[static_cast<std::size_t>(site.index - 1)] = site.checkBox;
    }
    // Types `typed` into the window and clicks 确定.
    void confirmWith(const Text& typed) {
        window.user = [typed](SiteSelection& handlers, FakeExtraSites& w) {
            w.text = typed;
            handlers.confirm(w);
        };
        controls->setTicked(选择框1, true);
        selection.otherSites();
    }

    std::shared_ptr<FakeControls> controls = std::make_shared<FakeControls>();
    std::shared_ptr<SearchSession> session = std::make_shared<SearchSession>(controls);
    FakeDesktop desktop;
    FakeExtraSites window;
    SiteSelection selection{session, desktop, window, FilePath("/run")};
    const FilePath file = "/run/_url_.txt";
};

TEST_F(Sites, SelectAllTicksAndClearsAllTwentyFourBoxesWithoutOpeningTheWindow) {
    for (const bool state : {true, false}) {
        SCOPED_TRACE(state);
        controls->setTicked(选择框_全部, state);
        selection.selectAll();
        for (const Site& site : siteCatalogue()) {
            EXPECT_EQ(controls->ticked(site.checkBox), state);
            EXPECT_TRUE(controls->enabled(site.checkBox));
        }
        EXPECT_EQ(controls->ticked(选择框1), state);
    }
    EXPECT_EQ(window.opened, 0);
}

TEST_F(Sites, OtherSitesOpensTheWindowOnlyWhenTicked) {
    session->extraHosts = T("a.com;b.com");
    controls->setTicked(选择框1, false);
    selection.otherSites();
    EXPECT_EQ(window.opened, 0);
    controls->setTicked(选择框1, true);
    selection.otherSites();
    EXPECT_EQ(window.opened, 1);
    EXPECT_EQ(window.text, T("a.com;b.com"));
}

TEST_F(Sites, ConfirmStoresTheListInMemoryAndInTheFile) {
    struct Case {
        const char* name;
        Text typed;
    };
    const Case cases[] = {
        {"two hosts", T("a.com;b.com")},
        {"a semicolon and a space at the end", T("a.com; ")},
        {"an empty box writes an empty file", T("")},
        {"line breaks kept", T("a.com;\r\nb.com")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        confirmWith(c.typed);
        EXPECT_EQ(session->extraHosts, c.typed);
        ASSERT_TRUE(desktop.files.count(file));
        EXPECT_EQ(desktop.files[file], toBytes(c.typed));
        EXPECT_FALSE(window.open);
        EXPECT_TRUE(controls->ticked(选择框1));
    }
}

TEST_F(Sites, ATrailingSemicolonIsRefused) {
    session->extraHosts = T("old");
    confirmWith(T("a.com;"));
    EXPECT_EQ(desktop.messages().back().text, L(u8"请不用分号结尾！"));
    EXPECT_TRUE(window.open);
    EXPECT_EQ(window.text, T("a.com;"));
    EXPECT_EQ(session->extraHosts, T("old"));
    EXPECT_TRUE(desktop.files.empty());
}

TEST_F(Sites, ClosingWithoutConfirmingStoresNothing) {
    session->extraHosts = T("kept");
    window.user = [](SiteSelection&, FakeExtraSites& w) {
        w.text = T("edited");
        w.close();
    };
    controls->setTicked(选择框1, true);
    selection.otherSites();
    EXPECT_EQ(session->extraHosts, T("kept"));
    EXPECT_TRUE(desktop.files.empty());
    window.user = nullptr;
    selection.otherSites();
    EXPECT_EQ(window.text, T("kept"));
}

TEST_F(Sites, AListThatCannotBeSavedIsSaidSoAndTheWindowStaysOpen) {
    desktop.filesReadOnly = true;
    confirmWith(T("a.com"));
    EXPECT_TRUE(desktop.messages().back().text.view().starts_with(L(u8"保存失败！").view()));
    EXPECT_TRUE(window.open);
    EXPECT_EQ(window.text, T("a.com"));
}

} // namespace
} // namespace shareseek
