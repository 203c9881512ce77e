#include "win32/view_menu.h"

#include "toolkit/menu.h"
#include "win32/view_context.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

MenuBar::~MenuBar() {
    if (owner_ && IsWindow(owner_) && GetMenu(owner_) == menu_) {
        SetMenu(owner_, nullptr);
        DestroyMenu(menu_);
    }
}

void MenuBar::create(HWND parent) {
    owner_ = parent;
    menu_ = CreateMenu();
    update();
    SetMenu(owner_, menu_);
}

void MenuBar::update() {
    while (GetMenuItemCount(menu_) > 0) DeleteMenu(menu_, 0, MF_BYPOSITION);
    for (const auto& item : model_.children()) {
        auto [entry, fresh] = commands_.try_emplace(item.get(), 0);
        if (fresh) entry->second = context_.newId();
        if (!item->visible()) continue;
        AppendMenuW(menu_, MF_STRING | (item->enabled() ? MF_ENABLED : MF_GRAYED), entry->second,
                    widen(item->caption()).c_str());
    }
    if (GetMenu(owner_) == menu_) DrawMenuBar(owner_);
}

UINT MenuBar::commandOf(const ui::Control& item) const {
    const auto found = commands_.find(&item);
    return found == commands_.end() ? 0 : found->second;
}

bool MenuBar::choose(UINT command) {
    for (const auto& item : model_.children()) {
        if (commandOf(*item) != command || item->kind() != ui::Kind::MenuItem) continue;
        if (!item->visible() || !item->enabled()) return false;  // not on the bar
        auto& menuItem = static_cast<ui::MenuItem&>(*item);
        context_.userAction(*this, [&menuItem] { menuItem.userClick(); });
        return true;
    }
    return false;
}

}  // namespace morvane::win32
