#include "ui/result_list_commands.h"

#include "support/fake_controls.h"
#include "support/fake_desktop.h"
#include "support/text_printing.h"
#include "support/waiting.h"

#include "fake_engine/fake_search_engine.h"
#include "search/dispatch.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <span>

namespace shareseek {
namespace {

using namespace control;
using testing::FakeControls;
using testing::FakeDesktop;
using testing::L;
using testing::T;

class ResultList : public ::testing::Test {
protected:
    void addRow(const Text& title, const Text& address) {
        const int row = controls.appendRow(超级列表框1);
        controls.setCell(超级列表框1, row, 0, Text(std::to_string(row + 1)));
        controls.setCell(超级列表框1, row, 1, title);
        controls.setCell(超级列表框1, row, 2, address);
    }
    std::vector<Text> filteredTitles() {
        std::vector<Text> titles;
        for (const auto& row : controls.rows(超级列表框2))
            titles.push_back(row[1]);
        return titles;
    }

    FakeControls controls;
    FakeDesktop desktop;
    ResultListCommands commands{controls, desktop, FilePath("/run"), "forum.example"};
};

TEST_F(ResultList, FilterKeepsTitlesHoldingTheTextExactly) {
    struct Case {
        const char* name;
        std::vector<const char*> titles;
        const char* filter;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"letter case significant", {"xabcx", "ABC", "ab-c"}, "abc", {"xabcx"}},
        {"empty filter takes every non-empty title", {"a", "", "b"}, "", {"a", "b"}},
        {"rows 2 and 4 of 5",
         {"one", "two x", "three", "four x", "five"},
         "x",
         {"two x", "four x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        controls.deleteAllRows(超级列表框1);
        for (const char* title : c.titles)
            addRow(T(title), T(std::string("http://") + title));
        controls.setText(编辑框2, T(c.filter));
        commands.resultFilter();
        std::vector<Text> expected;
        for (const char* title : c.expected)
            expected.push_back(T(title));
        EXPECT_EQ(filteredTitles(), expected);
        const auto rows = controls.rows(超级列表框2);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i][0], Text(std::to_string(i + 1))); // numbered from 1
            EXPECT_EQ(rows[i][2], T("http://") + rows[i][1]);
        }
        EXPECT_TRUE(controls.visible(超级列表框2));
        EXPECT_FALSE(controls.visible(超级列表框1));
        EXPECT_EQ(controls.text(标签2), L(u8"结果：") + Text(std::to_string(expected.size())));
    }
}

TEST_F(ResultList, AFilterWithoutMatchesChangesNothingVisible) {
    addRow(T("abc"), T("u"));
    controls.setText(标签2, L(u8"资源数：1"));
    controls.setText(编辑框2, T("zzz"));
    commands.resultFilter();
    EXPECT_TRUE(controls.visible(超级列表框1));
    EXPECT_FALSE(controls.visible(超级列表框2));
    EXPECT_EQ(controls.text(标签2), L(u8"资源数：1"));

    // In the filtered state the filtered list stays shown, now empty, with its caption.
    controls.setText(编辑框2, T("a"));
    commands.resultFilter();
    controls.setText(编辑框2, T("zzz"));
    commands.resultFilter();
    EXPECT_TRUE(controls.visible(超级列表框2));
    EXPECT_TRUE(controls.rows(超级列表框2).empty());
    EXPECT_EQ(controls.text(标签2), L(u8"结果：1"));
}

TEST_F(ResultList, EmptyingTheFilterBoxShowsTheFullListAgainAndTypingDoesNotFilter) {
    addRow(T("abc"), T("u"));
    addRow(T("xyz"), T("v"));
    controls.setText(编辑框2, T("a"));
    commands.resultFilter();
    controls.setText(编辑框2, T("x"));
    commands.filterReset(); // typed: no filtering
    EXPECT_EQ(filteredTitles(), std::vector<Text>{T("abc")});
    EXPECT_TRUE(controls.visible(超级列表框2));
    controls.setText(编辑框2, T(""));
    commands.filterReset();
    EXPECT_TRUE(controls.visible(超级列表框1));
    EXPECT_FALSE(controls.visible(超级列表框2));
    EXPECT_EQ(controls.text(标签2), L(u8"资源数：2"));
    EXPECT_EQ(controls.rows(超级列表框2).size(), 1u); // the filtered rows remain
}

TEST_F(ResultList, CopyAndOpenUseTheFullListsSelection) {
    addRow(T("t1"), T("http://u/1"));
    addRow(T("t2"), T("http://u/2"));
    controls.select(超级列表框1, 1);
    controls.setText(编辑框2, T("t"));
    commands.resultFilter(); // the full list is now hidden but keeps its selection
    controls.select(超级列表框2, 0);
    commands.copyAddress();
    EXPECT_EQ(desktop.clipboard, T("http://u/2"));
    commands.copyTitle();
    EXPECT_EQ(desktop.clipboard, T("t2"));
    commands.openAddress();
    EXPECT_EQ(desktop.openedAddresses, std::vector<Text>{T("http://u/2")});
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].text, L(u8"复制成功！"));

    controls.select(超级列表框1, -1);
    commands.copyAddress();
    EXPECT_EQ(desktop.clipboard, T("")); // nothing selected: the empty text
}

// Rows come from pages we do not control: only web addresses reach the browser.
TEST_F(ResultList, OpensOnlyWebAddresses) {
    const char* opening[] = {
        "http://pan.baidu.com/s/1abc",
        "HTTPS://Pan.Baidu.com/s?x=1#y",
        "http://a",
        "https://127.0.0.1:8080/p",
        "http://user@host/p",
        "http://[::1]:80/",
        "hTtP://a.b/中文 空格",
    };
    const char* refused[] = {
        "file:///home/ana/.ssh/id_rsa",
        "/tmp/x.desktop",
        "x.desktop",
        "smb://host/share",
        "javascript:alert(1)",
        "ftp://a.b/c",
        "mailto:a@b",
        "",
        "http://",
        "http:///path",
        "https://:80/x",
        "http://a\nb",
        "http://a/\x1B[2J",
        "http://a/\x7F",
        " http://a",
        "httpx://a",
        "http:/a",
        "http://@/x",
    };
    for (const bool opens : {true, false}) {
        for (const char* address : opens ? std::span<const char* const>(opening)
                                         : std::span<const char* const>(refused)) {
            SCOPED_TRACE(address);
            FakeDesktop own;
            ResultListCommands isolated{controls, own, FilePath("/run"), "forum.example"};
            controls.deleteAllRows(超级列表框1);
            addRow(T("t"), utf8ToText(address));
            controls.select(超级列表框1, 0);
            isolated.openAddress();
            if (opens) {
                EXPECT_EQ(own.openedAddresses, std::vector<Text>{utf8ToText(address)});
                EXPECT_TRUE(own.messages().empty());
            } else {
                EXPECT_TRUE(own.openedAddresses.empty());
                ASSERT_EQ(own.messages().size(), 1u);
                EXPECT_EQ(own.messages()[0].text, L(u8"只能打开网页地址：") + utf8ToText(address));
            }
        }
    }
}

// A page that lists a local file: the row is there, as the page said, but it opens nothing.
TEST(ResultListEndToEnd, AFileAddressFromAPageOpensNothing) {
    fake::FakeSearchEngine engine({.hitsPerPage = 2, .hitAddress = "file:///etc/passwd"});
    auto controls = std::make_shared<FakeControls>();
    auto session = std::make_shared<SearchSession>(controls);
    session->environment.searchHost = engine.host();
    fillCheckBoxTable(*session);
    controls->setTicked(session->checkBoxTable[0], true);
    controls->setText(编辑框1, L(u8"电影"));
    FakeDesktop desktop;
    SearchDispatch(session, desktop).startSearch();
    ASSERT_TRUE(testing::waitForWorkers(*session));
    ASSERT_EQ(controls->rows(超级列表框1).size(), 2u);
    EXPECT_EQ(controls->rows(超级列表框1)[0][2], T("file:///etc/passwd"));

    ResultListCommands commands{*controls, desktop, FilePath("/run"), "forum.example"};
    controls->select(超级列表框1, 0);
    commands.openAddress();
    EXPECT_TRUE(desktop.openedAddresses.empty());
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, L(u8"只能打开网页地址：file:///etc/passwd"));
}

TEST_F(ResultList, ABusyClipboardIsSaidSo) {
    addRow(T("t1"), T("u1"));
    controls.select(超级列表框1, 0);
    desktop.clipboardBusy = true;
    commands.copyTitle();
    EXPECT_FALSE(desktop.clipboard.has_value());
    EXPECT_EQ(desktop.messages().back().text, L(u8"复制失败！剪贴板正被占用。"));
}

TEST_F(ResultList, ExportWritesEveryRowThenTheFilteredOnes) {
    struct Case {
        const char* name;
        const char* keyword;
        std::vector<std::pair<const char*, const char*>> rows;
        std::string expectedPath;
        std::string expected;
    };
    const Case cases[] = {
        {"two rows",
         "abc",
         {{"t1", "u1"}, {"t2", "u2"}},
         "/run/abc_导出.txt",
         "t1      u1\r\n\r\nt2      u2\r\n\r\n筛选后：\r\n\r\n"},
        {"empty lists and keyword", "", {}, "/run/_导出.txt", "筛选后：\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        controls.deleteAllRows(超级列表框1);
        for (const auto& [title, address] : c.rows)
            addRow(T(title), T(address));
        controls.setText(编辑框1, T(c.keyword));
        commands.exportAll();
        const FilePath path(c.expectedPath);
        ASSERT_TRUE(desktop.files.count(path));
        EXPECT_EQ(desktop.files[path], toBytes(utf8ToText(c.expected)));
        EXPECT_EQ(desktop.messages().back().text, L(u8"导出成功！"));
        EXPECT_EQ(desktop.fileManagerPaths.back(), path);
    }
}

TEST_F(ResultList, ExportCarriesTheFilteredRowsAndASecondExportReplacesTheFirst) {
    addRow(T("a1"), T("u1"));
    addRow(T("b2"), T("u2"));
    controls.setText(编辑框1, T("k"));
    controls.setText(编辑框2, T("b"));
    commands.resultFilter();
    commands.exportAll();
    const FilePath path("/run/k_导出.txt");
    EXPECT_EQ(
        desktop.files[path],
        toBytes(L(u8"a1      u1\r\n\r\nb2      u2\r\n\r\n筛选后：\r\n\r\nb2      u2\r\n\r\n")));
    controls.deleteAllRows(超级列表框1);
    controls.deleteAllRows(超级列表框2);
    commands.exportAll();
    EXPECT_EQ(desktop.files[path], toBytes(L(u8"筛选后：\r\n\r\n")));
}

TEST_F(ResultList, AnExportThatCannotBeWrittenIsSaidSo) {
    struct Case {
        const char* name;
        const char* keyword;
        bool readOnly;
    };
    const Case cases[] = {
        {"read-only directory", "abc", true},
        {"a slash in the keyword", "../../etc/x", false},
        {"a backslash in the keyword", "a\\b", false},
        {"a slash alone", "/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop own;
        ResultListCommands isolated{controls, own, FilePath("/run"), "forum.example"};
        own.filesReadOnly = c.readOnly;
        controls.setText(编辑框1, T(c.keyword));
        isolated.exportAll();
        EXPECT_TRUE(own.files.empty());
        ASSERT_EQ(own.messages().size(), 1u);
        EXPECT_TRUE(own.messages()[0].text.view().starts_with(L(u8"导出失败！").view()));
        EXPECT_TRUE(own.fileManagerPaths.empty());
    }
}

TEST_F(ResultList, KeywordsWithDotsExportInsideTheRunDirectory) {
    for (const char* keyword : {"1..3", "...", "..", ".", "a.b..c", "电影.."}) {
        SCOPED_TRACE(keyword);
        FakeDesktop own;
        ResultListCommands isolated{controls, own, FilePath("/run"), "forum.example"};
        controls.setText(编辑框1, utf8ToText(keyword));
        isolated.exportAll();
        const FilePath expected = FilePath("/run") / (std::string(keyword) + "_导出.txt");
        EXPECT_EQ(expected.parent_path(), FilePath("/run"));
        EXPECT_EQ(own.files.count(expected), 1u);
        EXPECT_EQ(own.messages().back().text, L(u8"导出成功！"));
    }
}

TEST_F(ResultList, PopupMenuAndDownloadPage) {
    commands.showPopupMenu();
    EXPECT_EQ(controls.popupMenus(), 1);
    commands.openDownloadPage();
    EXPECT_EQ(desktop.openedAddresses,
              std::vector<Text>{T("http://forum.example/thread-27068-1-1.html")});
}

} // namespace
} // namespace shareseek
