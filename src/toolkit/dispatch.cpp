#include "toolkit/dispatch.h"

#include <exception>

namespace morvane::ui {

void dispatch(Platform& platform, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        platform.showFailure(error.what());
    } catch (...) {
        platform.showFailure("An unexpected error occurred.");
    }
}

}  // namespace morvane::ui
