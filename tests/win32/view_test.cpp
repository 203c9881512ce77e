// The Win32 view against a small window of its own: user actions go in through the native
// controls the way Windows delivers them, and what the model holds is read back from them.
#include "win32/view.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/unit1.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/edit.h"
#include "toolkit/keyboard.h"
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
        ui::TabPage* pageB = pages->addTab("PageB", "B");
        editB = at(pageB->add<ui::Edit>("EditB"), 16, 28, 200, 23);
        auto* panel = at(pageA->add<ui::Panel>("Panel"), 0, 40, 640, 440);
        label = at(panel->add<ui::Label>("Label"), 16, 8, 200, 17, "Name");
        edit = at(panel->add<ui::Edit>("Edit"), 16, 28, 200, 23);
        spin = panel->add<ui::SpinBox>("Spin", 0, 100, 1, 0, 4);
        at(spin, 16, 64, 80, 23);
        combo = at(panel->add<ui::ComboBox>("Combo"), 16, 100, 200, 23);
        for (const char* item : {"a", "b", "c"}) combo->add(item);
        check = at(panel->add<ui::CheckBox>("Check"), 16, 136, 200, 19, "Checked");
        group = at(panel->add<ui::GroupBox>("Group"), 16, 164, 200, 50, " Where ");
        group->setHint("Pick one");
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
    ui::Edit* editB;
    ui::GroupBox* group;
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

    // The program's own message loop, until the queue is empty.
    void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) processMessage(view, message);
    }

    // A key as the keyboard delivers it to the focused window, with Shift held or not.
    void press(WORD key, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        const auto target = [&] { return GetFocus() ? GetFocus() : view.window(); };
        PostMessageW(target(), WM_KEYDOWN, key, 1);
        pump();
        PostMessageW(target(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        pump();
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
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

// Keys in an open list move its choice, and the list stays open until Enter closes it: showing
// the choice must not close it behind the user's back (the list's window would then keep the
// mouse, and the next click anywhere would open it again).
TEST_F(ViewTest, AnOpenListStaysOpenWhileTheKeyboardChoosesInIt) {
    view.show(SW_SHOWNORMAL);
    pump();
    HWND combo = h(*form.combo);
    SetFocus(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pump();
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    press(VK_DOWN);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    press(VK_DOWN);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(form.combo->itemIndex(), 1);
    press(VK_RETURN);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(form.combo->itemIndex(), 1);
    EXPECT_EQ(events, (Events{"combo.change(0)", "combo.change(1)"}));
    EXPECT_EQ(GetCapture(), nullptr);
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

TEST_F(ViewTest, TabAndShiftTabLeaveAMemo) {
    SetFocus(h(*form.memo));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), h(*form.tabs));
    EXPECT_EQ(form.focused(), form.tabs);

    SetFocus(h(*form.memo));
    press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), h(*form.button));
    EXPECT_EQ(form.focused(), form.button);
}

TEST_F(ViewTest, PageSwitchMovesTheFocusOntoThePageShown) {
    SetFocus(h(*form.spin));
    form.pages->setTabIndex(1);
    EXPECT_EQ(form.focused(), form.editB);
    EXPECT_EQ(GetFocus(), h(*form.editB));
    // Keys reach the page shown, never the spin box on the hidden one.
    press(VK_UP);
    press(VK_SPACE);
    EXPECT_EQ(form.spin->value(), 4);
    EXPECT_EQ(textOf(h(*form.editB)), L" ");

    // A handler that names a control has the last word.
    form.pages->onChange = [this] {
        if (form.pages->tabIndex() == 0) form.button->setFocus();
    };
    form.pages->setTabIndex(0);
    EXPECT_EQ(form.focused(), form.button);
    EXPECT_EQ(GetFocus(), h(*form.button));
}

TEST_F(ViewTest, ArrowKeysMoveAndCheckWithinARadioGroup) {
    SetFocus(h(*form.radio1));
    const struct {
        WORD key;
        ui::RadioButton* checked;
    } steps[] = {{VK_RIGHT, form.radio2},
                 {VK_DOWN, form.radio1},
                 {VK_UP, form.radio2},
                 {VK_LEFT, form.radio1}};
    for (const auto& step : steps) {
        press(step.key);
        ui::RadioButton* other = step.checked == form.radio1 ? form.radio2 : form.radio1;
        EXPECT_TRUE(step.checked->checked()) << step.checked->name();
        EXPECT_FALSE(other->checked());
        EXPECT_EQ(SendMessageW(h(*step.checked), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendMessageW(h(*other), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(GetFocus(), h(*step.checked));
        EXPECT_EQ(form.focused(), step.checked);
    }
}

// Counts the messages a native control receives.
LRESULT CALLBACK countMessages(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR counts) {
    ++(*reinterpret_cast<std::map<UINT, int>*>(counts))[message];
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(ViewTest, AListRefillAndAMemoLoadReachTheirControlsAsOneUpdate) {
    std::map<UINT, int> list, memo;
    SetWindowSubclass(h(*form.combo), countMessages, 1, reinterpret_cast<DWORD_PTR>(&list));
    SetWindowSubclass(h(*form.memo), countMessages, 1, reinterpret_cast<DWORD_PTR>(&memo));
    form.button->onClick = [this] {
        form.combo->clear();
        for (int i = 0; i < 200; ++i) form.combo->add("entry " + std::to_string(i));
        form.memo->clear();
        for (int i = 0; i < 200; ++i) form.memo->addLine("line " + std::to_string(i));
    };
    SendMessageW(h(*form.button), BM_CLICK, 0, 0);
    EXPECT_EQ(list[CB_RESETCONTENT], 1);
    EXPECT_EQ(list[CB_ADDSTRING], 200);
    EXPECT_EQ(list[CB_GETLBTEXT], 0);
    EXPECT_EQ(list[WM_SETREDRAW], 2);
    EXPECT_EQ(memo[WM_SETTEXT], 1);
    EXPECT_EQ(SendMessageW(h(*form.combo), CB_GETCOUNT, 0, 0), 200);
    EXPECT_EQ(SendMessageW(h(*form.memo), EM_GETLINECOUNT, 0, 0), 200);

    // Appending to a list adds only the new entry.
    list.clear();
    form.combo->add("one more");
    EXPECT_EQ(list[CB_RESETCONTENT], 0);
    EXPECT_EQ(list[CB_ADDSTRING], 1);
    RemoveWindowSubclass(h(*form.combo), countMessages, 1);
    RemoveWindowSubclass(h(*form.memo), countMessages, 1);
}

// A modal dialog disables its owner before it shows: the window then shows the model as the
// handler left it so far.
TEST_F(ViewTest, AModalDialogSeesTheModelAsItStands) {
    std::wstring behind;
    form.button->onClick = [this, &behind] {
        form.edit->setText("before the dialog");
        EnableWindow(view.window(), FALSE);
        behind = textOf(h(*form.edit));
        EnableWindow(view.window(), TRUE);
        form.edit->setText("after it");
    };
    SendMessageW(h(*form.button), BM_CLICK, 0, 0);
    EXPECT_EQ(behind, L"before the dialog");
    EXPECT_EQ(textOf(h(*form.edit)), L"after it");
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
    pump();
    const auto centre = [&](const ui::Control& control) {
        RECT rect{};
        GetWindowRect(h(control), &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    };
    EXPECT_EQ(view.hintAt(centre(*form.button)), L"Press me");
    EXPECT_EQ(view.hintAt(centre(*form.edit)), L"");
    // A group box's hint shows on its caption and inside its frame, and its radio buttons keep
    // their own (none).
    RECT box{};
    GetWindowRect(h(*form.group), &box);
    EXPECT_EQ(view.hintAt({box.left + 12, box.top + 4}), L"Pick one");
    EXPECT_EQ(view.hintAt({box.right - 4, box.bottom - 4}), L"Pick one");
    EXPECT_EQ(view.hintAt(centre(*form.radio1)), L"");
    EXPECT_EQ(GetFocus(), h(*form.edit));  // the first control Tab reaches
    ASSERT_TRUE(saveWindowImage(view.window(), L"view_test.bmp"));
    std::ifstream image("view_test.bmp", std::ios::binary);
    char magic[2] = {};
    image.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
}

// The program's window on its monitor: its client area as designed wherever that fits the work
// area; where it does not, the window takes the work area and the pages scroll, so that every
// control can still be brought into view. Run at 96 DPI and, as view_tests_144dpi, at 144.
TEST(ProgramWindow, FitsTheWorkAreaOfItsMonitorAndEveryControlCanBeReached) {
    RecordingPlatform platform;
    const std::unique_ptr<TForm1> form = startForm1(platform);
    Win32View view(*form, platform);
    view.show(SW_SHOWNORMAL);
    const auto pump = [&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) processMessage(view, message);
    };
    pump();
    const int dpi = static_cast<int>(GetDpiForWindow(view.window()));
    if (const char* expected = std::getenv("MORVANE_TEST_DPI")) {
        EXPECT_EQ(dpi, std::atoi(expected));
    }

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(view.window(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT frame{};
    GetWindowRect(view.window(), &frame);
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
    EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
    EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);

    RECT designed{0, 0, MulDiv(1125, dpi, 96), MulDiv(675, dpi, 96)};
    AdjustWindowRectExForDpi(&designed,
                             static_cast<DWORD>(GetWindowLongW(view.window(), GWL_STYLE)), TRUE, 0,
                             static_cast<UINT>(dpi));
    const bool fits = designed.right - designed.left <= work.right - work.left &&
                      designed.bottom - designed.top <= work.bottom - work.top;
    HWND pages = view.hwnd(*form->TabControl1);
    const LONG pageStyle = GetWindowLongW(pages, GWL_STYLE);
    if (fits) {
        RECT client{};
        GetClientRect(view.window(), &client);
        EXPECT_EQ(client.right, MulDiv(1125, dpi, 96));
        EXPECT_EQ(client.bottom, MulDiv(675, dpi, 96));
        EXPECT_FALSE(pageStyle & (WS_HSCROLL | WS_VSCROLL));
    } else {
        EXPECT_EQ(frame.right - frame.left, work.right - work.left);
        EXPECT_EQ(frame.bottom - frame.top, work.bottom - work.top);
        EXPECT_TRUE(pageStyle & (WS_HSCROLL | WS_VSCROLL));
    }

    // Each control the keyboard reaches, on every page and tab, comes into the page area once
    // it has the focus (as far as it fits there), and the pointer finds it there.
    const auto visit = [&](ui::Control& page) {
        for (ui::Control* control : ui::tabStops(page)) {
            control->setFocus();
            pump();
            HWND hwnd = view.hwnd(*control);
            RECT area{}, rect{}, seen{};
            GetClientRect(pages, &area);
            MapWindowPoints(pages, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
            GetWindowRect(hwnd, &rect);
            IntersectRect(&seen, &rect, &area);
            EXPECT_EQ(seen.right - seen.left,
                      std::min(rect.right - rect.left, area.right - area.left))
                << control->name() << " is cut off at " << dpi << " DPI";
            EXPECT_EQ(seen.bottom - seen.top,
                      std::min(rect.bottom - rect.top, area.bottom - area.top))
                << control->name() << " is cut off at " << dpi << " DPI";
            rect = seen;
            // A tab control is reached at its tabs: its pages cover the rest.
            if (control->kind() == ui::Kind::TabControl) {
                SendMessageW(hwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
                MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
            }
            const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            const HWND hit = WindowFromPoint(middle);
            const ui::Control* found = view.controlOf(hit);
            EXPECT_EQ(hit, hwnd) << control->name() << " is covered by "
                                 << (found ? found->name() : "another window");
        }
    };
    for (int index = 0; index < form->TabControl1->count(); ++index) {
        form->TabControl1->setTabIndex(index);
        pump();
        if (index == 0) {
            for (int tab = 0; tab < form->tcPoolOrToken->count(); ++tab) {
                form->tcPoolOrToken->page(tab)->setEnabled(true);
                form->tcPoolOrToken->setTabIndex(tab);
                visit(*form->TabControl1->page(index));
            }
        } else {
            visit(*form->TabControl1->page(index));
        }
    }
}

}  // namespace
}  // namespace morvane::win32
