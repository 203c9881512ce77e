// The Win32 view against a small window of its own: user actions go in through the native
// controls the way Windows delivers them, and what the model holds is read back from them.
#include "win32/view.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/edit.h"
#include "toolkit/menu.h"
#include "toolkit/spin_box.h"
#include "toolkit/tab_control.h"
#include "win32/win32_platform.h"

namespace morvane::win32 {
namespace {

using Events = std::vector<std::string>;

// Records the dialogs instead of showing them.
class RecordingPlatform : public Win32Platform {
  public:
    Events dialogs;
    void showMessage(ui::MessageKind, const std::string& text) override {
        dialogs.push_back("message " + text);
    }
    int askYesNo(const std::string& text) override {
        dialogs.push_back("question " + text);
        return ui::kAnswerNo;
    }
    void showFailure(const std::string& text) override { dialogs.push_back("failure " + text); }
};

template <typename T>
T* at(T* control, int x, int y, int width, int height, std::string caption = {}) {
    control->bounds = {x, y, width, height};
    if (!caption.empty()) control->setCaption(caption);
    return control;
}

struct TestForm : ui::Window {
    explicit TestForm(Events& events) : ui::Window("Form") {
        setCaption("View test");
        bounds = {0, 0, 640, 480};
        auto* menu = add<ui::MainMenu>("Menu");
        first = at(menu->add<ui::MenuItem>("First"), 0, 0, 0, 0, "First");
        at(menu->add<ui::MenuItem>("Hidden"), 0, 0, 0, 0, "Hidden")->setVisible(false);
        failing = at(menu->add<ui::MenuItem>("Failing"), 0, 0, 0, 0, "Fail && stop");

        pages = at(add<ui::TabControl>("Pages", ui::Kind::PageControl), 0, 0, 640, 480);
        ui::TabPage* pageA = pages->addTab("PageA", "A");
        pages->addTab("PageB", "B");
        auto* panel = at(pageA->add<ui::Panel>("Panel"), 0, 40, 640, 440);
        label = at(panel->add<ui::Label>("Label"), 16, 8, 200, 17, "Name");
        edit = at(panel->add<ui::Edit>("Edit"), 16, 28, 200, 23);
        spin = panel->add<ui::SpinBox>("Spin", 0, 100, 1, 0, 4);
        at(spin, 16, 64, 80, 23);
        combo = at(panel->add<ui::ComboBox>("Combo"), 16, 100, 200, 23);
        for (const char* item : {"a", "b", "c"}) combo->add(item);
        check = at(panel->add<ui::CheckBox>("Check"), 16, 136, 200, 19, "Checked");
        auto* group = at(panel->add<ui::GroupBox>("Group"), 16, 164, 200, 50, " Where ");
        radio1 = at(group->add<ui::RadioButton>("Radio1", "g"), 8, 20, 90, 19, "Here");
        radio2 = at(group->add<ui::RadioButton>("Radio2", "g"), 104, 20, 90, 19, "There");
        radio1->setChecked(true);
        button = at(panel->add<ui::Button>("Button"), 16, 224, 120, 30, "Go");
        button->setHint("Press me");
        memo = at(panel->add<ui::Memo>("Memo"), 16, 264, 200, 100);
        memo->font = {"Courier New", 10};
        tabs = at(panel->add<ui::TabControl>("Tabs"), 240, 8, 380, 300);
        for (const char* name : {"One", "Two", "Three"}) tabs->addTab(name, name);
        tabs->page(1)->setEnabled(false);
        at(tabs->page(0)->add<ui::Label>("OnOne"), 8, 8, 200, 17, "On the first tab");

        edit->onChange = [this, &events] { events.push_back("edit.change(" + edit->text() + ")"); };
        combo->onChange = [this, &events] {
            events.push_back("combo.change(" + std::to_string(combo->itemIndex()) + ")");
        };
        tabs->onChange = [this, &events] {
            events.push_back("tabs.change(" + std::to_string(tabs->tabIndex()) + ")");
        };
        first->onClick = [this, &events] { events.push_back("first.click(" + edit->text() + ")"); };
        failing->onClick = [] { throw std::runtime_error("boom"); };
        button->onClick = [&events] { events.push_back("button.click"); };
    }

    ui::MenuItem* first;
    ui::MenuItem* failing;
    ui::TabControl* pages;
    ui::Label* label;
    ui::Edit* edit;
    ui::SpinBox* spin;
    ui::ComboBox* combo;
    ui::CheckBox* check;
    ui::RadioButton* radio1;
    ui::RadioButton* radio2;
    ui::Button* button;
    ui::Memo* memo;
    ui::TabControl* tabs;
};

std::wstring textOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

bool shown(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// The window stays hidden unless a test needs it on screen: without a window manager, Wine
// takes seconds to take a shown window down.
class ViewTest : public ::testing::Test {
  protected:
    HWND h(const ui::Control& control) const { return view.hwnd(control); }

    // A notification as the control sends it to its parent.
    void notifyParent(const ui::Control& control, WORD code) const {
        HWND hwnd = h(control);
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                     reinterpret_cast<LPARAM>(hwnd));
    }

    // The user replaces a field's text and leaves it.
    void type(const ui::Control& field, const wchar_t* text) const {
        SetFocus(h(field));
        SendMessageW(h(field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        SetFocus(h(*form.button));
    }

    Events events;
    RecordingPlatform platform;
    TestForm form{events};
    Win32View view{form, platform};
};

TEST_F(ViewTest, ProgramChangesShowWithoutComingBackAsUserActions) {
    form.edit->setText("abc");
    form.label->setCaption("Fish && Chips");
    form.check->setChecked(true);
    form.radio2->setChecked(true);
    form.combo->insert(0, "first");
    form.memo->setLines({"one", "two"});
    form.button->setEnabled(false);
    form.spin->setValue(7);

    EXPECT_EQ(textOf(h(*form.edit)), L"abc");
    EXPECT_EQ(textOf(h(*form.label)), L"Fish && Chips");
    EXPECT_EQ(SendMessageW(h(*form.check), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(h(*form.radio1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(h(*form.radio2), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(h(*form.combo), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(textOf(h(*form.memo)), L"one\r\ntwo");
    EXPECT_FALSE(IsWindowEnabled(h(*form.button)));
    EXPECT_EQ(textOf(h(*form.spin)), L"7");

    // Focus passing through the fields commits nothing: their text is the model's.
    SetFocus(h(*form.edit));
    SetFocus(h(*form.spin));
    SetFocus(h(*form.memo));
    SetFocus(h(*form.check));
    EXPECT_EQ(events, Events{"edit.change(abc)"});
    EXPECT_TRUE(platform.dialogs.empty());

    form.combo->setFocus();
    EXPECT_EQ(GetFocus(), h(*form.combo));
}

TEST_F(ViewTest, TypedTextIsCommittedOnceWhenLeftOrOnEnter) {
    const std::vector<std::pair<const char*, std::function<void()>>> commits = {
        {"focus", [&] { SetFocus(h(*form.button)); }},
        {"enter", [&] { SendMessageW(h(*form.edit), WM_KEYDOWN, VK_RETURN, 0); }},
    };
    for (const auto& [how, commit] : commits) {
        SCOPED_TRACE(how);
        events.clear();
        form.edit->setText("");
        events.clear();
        SetFocus(h(*form.edit));
        SendMessageW(h(*form.edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
        EXPECT_EQ(form.edit->text(), "");
        commit();
        commit();
        EXPECT_EQ(form.edit->text(), "typed");
        EXPECT_EQ(events, Events{"edit.change(typed)"});
    }
    // A memo takes what was typed into it the same way.
    type(*form.memo, L"x\r\ny");
    EXPECT_EQ(form.memo->lines(), (std::vector<std::string>{"x", "y"}));
}

TEST_F(ViewTest, SpinBoxShowsItsTextFormAfterACommit) {
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> cases = {
        {L"2.5", L"2"}, {L"150", L"100"}, {L"abc", L"100"}, {L"", L"0"}, {L" 1,2 ", L"12"},
    };
    for (const auto& [typed, shown] : cases) {
        type(*form.spin, typed);
        EXPECT_EQ(textOf(h(*form.spin)), shown) << "typed: " << testing::PrintToString(typed);
    }
    // The arrows (here through the keyboard) step the model.
    SetFocus(h(*form.spin));
    SendMessageW(h(*form.spin), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(form.spin->value(), 13);
    EXPECT_EQ(textOf(h(*form.spin)), L"13");
    // Keys the spin box does not accept never reach the text.
    SendMessageW(h(*form.spin), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (wchar_t key : {L'x', L'5', L'.', L'6'}) SendMessageW(h(*form.spin), WM_CHAR, key, 0);
    EXPECT_EQ(textOf(h(*form.spin)), L"56");
    ASSERT_NE(view.spinButton(*form.spin), nullptr);
    EXPECT_EQ(view.controlOf(view.spinButton(*form.spin)), form.spin);
}

TEST_F(ViewTest, ListChoiceRunsUserSelectAndClearingShowsEmpty) {
    SendMessageW(h(*form.combo), CB_SETCURSEL, 1, 0);
    notifyParent(*form.combo, CBN_SELCHANGE);
    EXPECT_EQ(form.combo->itemIndex(), 1);

    form.combo->clear();
    EXPECT_EQ(SendMessageW(h(*form.combo), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(h(*form.combo), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(events, (Events{"combo.change(1)", "combo.change(-1)"}));
}

TEST_F(ViewTest, DisabledTabCannotBeChosen) {
    HWND strip = h(*form.tabs);
    SendMessageW(strip, TCM_SETCURFOCUS, 1, 0);
    EXPECT_EQ(SendMessageW(strip, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(form.tabs->tabIndex(), 0);

    SendMessageW(strip, TCM_SETCURFOCUS, 2, 0);
    EXPECT_EQ(form.tabs->tabIndex(), 2);
    EXPECT_TRUE(shown(h(*form.tabs->page(2))));
    EXPECT_FALSE(shown(h(*form.tabs->page(0))));

    // A selection that got past TCN_SELCHANGING is refused by the model and undone.
    SendMessageW(strip, TCM_SETCURSEL, 1, 0);
    NMHDR header{strip, static_cast<UINT_PTR>(GetDlgCtrlID(strip)),
                 static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(strip), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(SendMessageW(strip, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(events, Events{"tabs.change(2)"});
}

TEST_F(ViewTest, PageControlShowsOnePageWithoutTabs) {
    EXPECT_TRUE(shown(h(*form.pages->page(0))));
    form.pages->setTabIndex(1);
    EXPECT_FALSE(shown(h(*form.pages->page(0))));
    EXPECT_TRUE(shown(h(*form.pages->page(1))));
    EXPECT_EQ(FindWindowExW(h(*form.pages), nullptr, WC_TABCONTROLW, nullptr), nullptr);
}

TEST_F(ViewTest, KeyboardVisitsTheFieldsInOrderAndEnterPressesAButton) {
    const auto tabOrder = [&] {
        Events names;
        const HWND first = GetNextDlgTabItem(view.window(), nullptr, FALSE);
        for (HWND at = first; at && names.size() < 20;) {
            const ui::Control* control = view.controlOf(at);
            names.push_back(control ? control->name() : "?");
            at = GetNextDlgTabItem(view.window(), at, FALSE);
            if (at == first) break;
        }
        return names;
    };
    EXPECT_EQ(tabOrder(),
              (Events{"Edit", "Spin", "Combo", "Check", "Radio1", "Button", "Memo", "Tabs"}));
    form.radio2->setChecked(true);
    EXPECT_EQ(tabOrder().at(4), "Radio2");

    // The Tab key itself, as the message loop hands it to IsDialogMessage.
    SetFocus(h(*form.edit));
    MSG key{h(*form.edit), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(view.window(), &key));
    EXPECT_EQ(GetFocus(), h(*form.spin));
    EXPECT_EQ(form.focused(), form.spin);

    SetFocus(h(*form.button));
    key = {h(*form.button), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(view.window(), &key));
    EXPECT_EQ(events, Events{"button.click"});
}

TEST_F(ViewTest, MenuShowsVisibleItemsAndAChoiceCommitsTypedTextFirst) {
    HMENU menu = GetMenu(view.window());
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    wchar_t caption[64] = {};
    GetMenuStringW(menu, 1, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Fail && stop");

    SetFocus(h(*form.edit));
    SendMessageW(h(*form.edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    SendMessageW(view.window(), WM_COMMAND, view.menuCommand(*form.first), 0);
    EXPECT_EQ(events, (Events{"edit.change(typed)", "first.click(typed)"}));
}

TEST_F(ViewTest, UncaughtErrorIsShownAndTheWindowGoesOn) {
    SendMessageW(view.window(), WM_COMMAND, view.menuCommand(*form.failing), 0);
    EXPECT_EQ(platform.dialogs, Events{"failure boom"});
    SendMessageW(h(*form.button), BM_CLICK, 0, 0);
    SendMessageW(h(*form.check), BM_CLICK, 0, 0);
    SendMessageW(h(*form.radio2), BM_CLICK, 0, 0);
    EXPECT_EQ(events, Events{"button.click"});
    EXPECT_TRUE(form.check->checked());
    EXPECT_EQ(SendMessageW(h(*form.radio1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ViewTest, RunTimeTabsAndMemosComeAndGo) {
    ui::TabPage* page = form.tabs->addTab("Four", "Four");
    auto* memo = page->add<ui::Memo>("Mymemo1", true);
    form.tabs->setTabIndex(3);
    HWND memoHwnd = h(*memo);
    EXPECT_EQ(SendMessageW(h(*form.tabs), TCM_GETITEMCOUNT, 0, 0), 4);
    // It fills the tab from the start, before it holds any text.
    RECT pageArea{}, memoArea{};
    GetClientRect(h(*page), &pageArea);
    GetClientRect(memoHwnd, &memoArea);
    EXPECT_GT(memoArea.right, pageArea.right / 2);
    EXPECT_GT(memoArea.bottom, pageArea.bottom / 2);
    memo->setLines({"x", "y"});
    EXPECT_EQ(textOf(memoHwnd), L"x\r\ny");
    EXPECT_TRUE(shown(memoHwnd));

    form.tabs->removeTab(3);
    EXPECT_EQ(SendMessageW(h(*form.tabs), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_FALSE(IsWindow(memoHwnd));
    EXPECT_EQ(view.controlOf(memoHwnd), nullptr);
}

// The strip changes only where the model did; its texts stay the model's wherever that is.
TEST_F(ViewTest, TabStripFollowsTabsAddedAndRemovedAnywhere) {
    const auto strip = [&] {
        std::vector<std::wstring> texts;
        for (int i = 0; i < SendMessageW(h(*form.tabs), TCM_GETITEMCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 64;
            SendMessageW(h(*form.tabs), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    };
    for (const char* name : {"Two", "Two", "Five"}) form.tabs->addTab(name, name);
    form.tabs->setTabIndex(4);
    form.tabs->removeTab(1);
    form.tabs->page(0)->setCaption("Uno");
    EXPECT_EQ(strip(), (std::vector<std::wstring>{L"Uno", L"Three", L"Two", L"Two", L"Five"}));
    EXPECT_EQ(SendMessageW(h(*form.tabs), TCM_GETCURSEL, 0, 0), 3);
    while (form.tabs->count() > 1) form.tabs->removeTab(1);
    EXPECT_EQ(strip(), std::vector<std::wstring>{L"Uno"});
}

TEST_F(ViewTest, HintsShowInTooltipsAndTheWindowCanBePictured) {
    EXPECT_EQ(view.tooltipText(*form.button), L"Press me");
    EXPECT_EQ(view.tooltipText(*form.edit), L"");
    EXPECT_EQ(textOf(view.window()), L"View test");

    // Kept beside the test program: a look at the window tells more than any check.
    view.show(SW_SHOWNORMAL);
    EXPECT_EQ(GetFocus(), h(*form.edit));  // the first control Tab reaches
    ASSERT_TRUE(saveWindowImage(view.window(), L"view_test.bmp"));
    std::ifstream image("view_test.bmp", std::ios::binary);
    char magic[2] = {};
    image.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
}

}  // namespace
}  // namespace morvane::win32
