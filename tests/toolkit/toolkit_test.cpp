#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/edit.h"
#include "toolkit/keyboard.h"
#include "toolkit/spin_box.h"
#include "toolkit/tab_control.h"

namespace morvane::ui {
namespace {

// Restores the default "." / "," locale after each test.
class Toolkit : public ::testing::Test {
  protected:
    ~Toolkit() override { locale() = {}; }
};

TEST_F(Toolkit, SpinBoxesCommitTextsByTheirRules) {
    struct Case {
        const char* decimal;
        const char* thousands;
        int decimals;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {".", ",", 0, "4", "4"},
        {".", ",", 0, "", "0"},
        {".", ",", 0, "150", "100"},
        {".", ",", 0, "-3", "0"},
        {".", ",", 0, "2.5", "2"},
        {".", ",", 0, "3.5", "4"},
        {".", ",", 0, "abc", "7"},
        {".", ",", 0, " 1\t2\xC2\xA0", "12"},
        {".", ",", 0, "2,5", "25"},
        {".", ",", 0, "1.2.3", "7"},
        {".", ",", 2, ".70", "0.70"},
        {".", ",", 2, "0", "0.68"},
        {".", ",", 2, "", "0.68"},
        {".", ",", 2, "1", "0.85"},
        {".", ",", 2, "0.756", "0.76"},
        {".", ",", 2, "0,75", "0.85"},
        {".", ",", 2, "0.9", "0.85"},
        {".", ",", 2, "+0.8", "0.80"},
        {",", ".", 2, "0,756", "0,76"},
        {",", ".", 2, ".70", "0,85"},
        {",", ".", 2, ",7", "0,70"},
        {",", ".", 0, "2,5", "2"},
        {",", "\xC2\xA0", 2, "0.7", "0,70"},
    };
    for (const Case& c : cases) {
        locale() = {c.decimal, c.thousands};
        SpinBox box("sb", c.decimals ? 0.68 : 0, c.decimals ? 0.85 : 100, 1, c.decimals,
                    c.decimals ? 0.75 : 7);
        box.setText(c.typed);
        EXPECT_EQ(box.text(), c.shown) << "typed \"" << c.typed << "\" with decimal " << c.decimal;
    }
}

TEST_F(Toolkit, SpinBoxKeyboardFilter) {
    SpinBox whole("w", 0, 100, 1, 0, 1);
    SpinBox decimal("d", 0.68, 0.85, 0.01, 2, 0.75);
    for (char32_t key : U"0123456789-+") {
        if (!key) break;
        EXPECT_TRUE(whole.acceptsKey(key));
        EXPECT_TRUE(decimal.acceptsKey(key));
    }
    for (char32_t key : {U'.', U',', U'a', U' ', U'e'}) EXPECT_FALSE(whole.acceptsKey(key));
    EXPECT_TRUE(decimal.acceptsKey(U'.'));
    EXPECT_TRUE(decimal.acceptsKey(U','));
    EXPECT_FALSE(decimal.acceptsKey(U'x'));
    whole.stepBy(150);
    EXPECT_EQ(whole.text(), "100");
    decimal.stepBy(2);
    EXPECT_EQ(decimal.text(), "0.77");
}

// Keeps the change events of the controls under test, in order.
struct EventLog {
    std::vector<std::string> events;
    void watch(ComboBox& box) {
        box.onChange = [this, &box] {
            events.push_back(box.name() + ".change(" + std::to_string(box.itemIndex()) + ")");
        };
    }
    void watch(Edit& edit) {
        edit.onChange = [this, &edit] {
            events.push_back(edit.name() + ".change(" + edit.text() + ")");
        };
    }
};

TEST_F(Toolkit, ListsChangeOnlyWhenASelectionIsLostOrMade) {
    ComboBox box("cbList");
    EventLog log;
    log.watch(box);
    box.clear();  // nothing selected: no event
    box.add("Rig1");
    box.add("Rig2");
    box.insert(0, "Add New");  // no event
    box.userSelect(2);
    box.add("Rig3");  // keeps the selection
    EXPECT_EQ(box.selectedText(), "Rig2");
    box.insert(0, "Top");  // the selection follows its entry
    EXPECT_EQ(box.itemIndex(), 3);
    box.userSelect(3);  // the same entry again: no change
    box.clear();        // loses the selection: one event
    box.clear();
    EXPECT_EQ(log.events, (std::vector<std::string>{"cbList.change(2)", "cbList.change(-1)"}));
    EXPECT_TRUE(box.items().empty());
}

TEST_F(Toolkit, EditsChangeOnRealChangesOnly) {
    Edit edit("edMinerRun");
    EventLog log;
    log.watch(edit);
    edit.setText("a");
    edit.setText("a");
    edit.setText("");
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"edMinerRun.change(a)", "edMinerRun.change()"}));
}

TEST_F(Toolkit, RadioButtonsUncheckTheirGroupAcrossTheWindow) {
    Window window("Form1");
    auto* left = window.add<Panel>("left");
    auto* right = window.add<Panel>("right");
    auto* a = left->add<RadioButton>("a", "1");
    auto* b = right->add<RadioButton>("b", "1");
    auto* other = right->add<RadioButton>("other", "5");
    a->setChecked(true);
    other->setChecked(true);
    b->userClick();
    EXPECT_FALSE(a->checked());
    EXPECT_TRUE(b->checked());
    EXPECT_TRUE(other->checked());
}

TEST_F(Toolkit, TabsCanBeDisabledAndRemovedSafely) {
    TabControl tabs("tcPoolOrToken");
    tabs.addTab("TabItem7", "Using Pool");
    tabs.addTab("TabItem8", "Using Token")->setEnabled(false);
    EXPECT_FALSE(tabs.userSelect(1));
    EXPECT_EQ(tabs.tabIndex(), 0);
    tabs.removeTab(5);
    tabs.removeTab(-1);
    EXPECT_EQ(tabs.count(), 2);
    tabs.page(1)->setEnabled(true);
    EXPECT_TRUE(tabs.userSelect(1));
    tabs.removeTab(1);
    EXPECT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.tabIndex(), 0);
}

// A window with a page control, a panel, a radio group split by a label, a memo and a tab
// control, as the keyboard meets them.
struct KeyboardWindow {
    KeyboardWindow() {
        outside = window.add<Button>("outside");
        pages = window.add<TabControl>("pages", Kind::PageControl);
        TabPage* page0 = pages->addTab("page0", "");
        TabPage* page1 = pages->addTab("page1", "");
        b0 = page0->add<Button>("b0");
        auto* panel = page0->add<Panel>("panel");
        e1 = panel->add<Edit>("e1");
        group = panel->add<GroupBox>("group");
        r1 = group->add<RadioButton>("r1", "g");
        group->add<Label>("between");
        r2 = group->add<RadioButton>("r2", "g");
        r3 = group->add<RadioButton>("r3", "g");
        e2 = panel->add<Edit>("e2");
        memo = panel->add<Memo>("memo");
        tabs = panel->add<TabControl>("tabs");
        ea = tabs->addTab("tabA", "A")->add<Edit>("ea");
        eb = tabs->addTab("tabB", "B")->add<Edit>("eb");
        label1 = page1->add<Label>("label1");
        f1 = page1->add<Edit>("f1");
        f2 = page1->add<Button>("f2");
    }
    std::vector<std::string> stops() {
        std::vector<std::string> names;
        for (const Control* stop : tabStops(window)) names.push_back(stop->name());
        return names;
    }

    Window window{"Form1"};
    Button* outside;
    TabControl* pages;
    Button* b0;
    Edit* e1;
    GroupBox* group;
    RadioButton *r1, *r2, *r3;
    Edit* e2;
    Memo* memo;
    TabControl* tabs;
    Edit *ea, *eb;
    Label* label1;
    Edit* f1;
    Button* f2;
};

using Names = std::vector<std::string>;

TEST_F(Toolkit, TabOrderIsTheDescriptionsOrderOfReachableStops) {
    KeyboardWindow w;
    EXPECT_EQ(w.stops(), (Names{"outside", "b0", "e1", "r1", "e2", "memo", "ea", "tabs"}));
    w.r2->setChecked(true);  // a radio group is entered at its checked button
    w.e2->setEnabled(false);
    w.tabs->setTabIndex(1);
    EXPECT_EQ(w.stops(), (Names{"outside", "b0", "e1", "r2", "memo", "eb", "tabs"}));
    w.pages->setTabIndex(1);
    EXPECT_EQ(w.stops(), (Names{"outside", "f1", "f2"}));

    // Tab and Shift+Tab wrap around; from nothing, or from a control that is no stop, they go
    // on from where it stands.
    EXPECT_EQ(nextTabStop(w.window, w.f2, true), w.outside);
    EXPECT_EQ(nextTabStop(w.window, w.outside, false), w.f2);
    EXPECT_EQ(nextTabStop(w.window, nullptr, true), w.outside);
    EXPECT_EQ(nextTabStop(w.window, nullptr, false), w.f2);
    EXPECT_EQ(nextTabStop(w.window, w.label1, true), w.f1);
    EXPECT_EQ(nextTabStop(w.window, w.label1, false), w.outside);
    w.f1->setFocus();
    EXPECT_EQ(moveFocus(w.window, true), w.f2);
    EXPECT_EQ(w.window.focused(), w.f2);
}

TEST_F(Toolkit, APageSwitchPutsTheFocusOnThePageShown) {
    KeyboardWindow w;
    w.e1->setFocus();
    w.pages->setTabIndex(1);
    EXPECT_EQ(w.window.focused(), w.f1);
    // A handler run by the switch may name another control.
    w.pages->onChange = [&] {
        if (w.pages->tabIndex() == 1) w.f2->setFocus();
    };
    w.pages->setTabIndex(0);
    EXPECT_EQ(w.window.focused(), w.b0);
    w.pages->setTabIndex(1);
    EXPECT_EQ(w.window.focused(), w.f2);
    // A focus outside the pages stays where it is.
    w.outside->setFocus();
    w.pages->setTabIndex(0);
    EXPECT_EQ(w.window.focused(), w.outside);

    // A tab control likewise, and a click on its strip keeps the focus on the strip.
    w.ea->setFocus();
    w.tabs->setTabIndex(1);
    EXPECT_EQ(w.window.focused(), w.eb);
    EXPECT_TRUE(w.tabs->userSelect(0));
    EXPECT_EQ(w.window.focused(), w.tabs);
    w.tabs->page(1)->setEnabled(false);
    EXPECT_FALSE(w.tabs->userSelect(1));
    EXPECT_EQ(w.window.focused(), w.tabs);

    // A control made unreachable loses the focus.
    w.e1->setFocus();
    w.e1->parent()->setEnabled(false);
    EXPECT_EQ(w.window.focused(), nullptr);
}

TEST_F(Toolkit, ClicksFocusWhatTheyClickAndArrowsWalkARadioGroup) {
    KeyboardWindow w;
    ComboBox* box = w.window.add<ComboBox>("box");
    box->add("x");
    CheckBox* check = w.window.add<CheckBox>("check");
    const std::vector<std::pair<Control*, std::function<void()>>> clicks = {
        {w.b0, [&] { w.b0->userClick(); }},
        {box, [&] { box->userSelect(0); }},
        {check, [&] { check->userClick(); }},
        {w.r3, [&] { w.r3->userClick(); }},
    };
    for (const auto& [control, click] : clicks) {
        click();
        EXPECT_EQ(w.window.focused(), control) << control->name();
    }

    EXPECT_EQ(&radioNeighbour(*w.r3, true), w.r1);
    EXPECT_EQ(&radioNeighbour(*w.r1, false), w.r3);
    w.r2->setEnabled(false);
    EXPECT_EQ(&radioNeighbour(*w.r1, true), w.r3);
    w.r3->setVisible(false);
    EXPECT_EQ(&radioNeighbour(*w.r1, true), w.r1);
    EXPECT_TRUE(startsGroup(*w.r1));
    EXPECT_FALSE(startsGroup(*w.r3));
    EXPECT_TRUE(startsGroup(*w.e2));
}

TEST_F(Toolkit, MemoLinesSplitAtAnyLineEnd) {
    Memo memo("Memo1");
    memo.setText("a\r\nb\nc\rd");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(memo.text(), "a\r\nb\r\nc\r\nd");
}

}  // namespace
}  // namespace morvane::ui
