#include "desktop/button_press.h"

namespace desktop {

bool pressesButton(const QueuedInput& input, const ButtonState& button) {
    if (!button.enabled) return false;
    switch (input.kind) {
        case QueuedInput::Kind::LeftButtonUp:
            return input.x >= 0 && input.y >= 0 && input.x < button.width && input.y < button.height;
        case QueuedInput::Kind::KeyUp: return input.key == kSpaceKey;
        case QueuedInput::Kind::KeyDown: return input.key == kReturnKey;
        case QueuedInput::Kind::Other: return false;
    }
    return false;
}

}  // namespace desktop
