// A press on a button that arrives while Quillon waits for a call to the CAD.
//
// During such a call the system does not dispatch keyboard and mouse messages, and may
// discard them (COM's default for messages that arrive while a call is outstanding,
// IMessageFilter::MessagePending answering PENDINGMSG_WAITDEFPROCESS). A press on "中止"
// made while the CAD plots a sheet, when a user is most likely to make it, could then
// vanish. So while a call is outstanding the queue is looked at, and a press on the
// button a run watches is noted for the run (ShellServices::watchPressesDuringCalls).
// What counts as a press is decided here, portably.
#pragma once

namespace desktop {

// A message queued for the button.
struct QueuedInput {
    enum class Kind { LeftButtonUp, KeyDown, KeyUp, Other };
    Kind kind = Kind::Other;
    int x = 0, y = 0;  // the pointer in the button's client pixels (button messages)
    int key = 0;       // the virtual key (key messages)
};

inline constexpr int kSpaceKey = 0x20;   // VK_SPACE
inline constexpr int kReturnKey = 0x0D;  // VK_RETURN

// The button as it is when the message is looked at.
struct ButtonState {
    int width = 0, height = 0;  // its client area in pixels
    bool enabled = false;
};

// Whether the message completes a press of the enabled button, as the button itself
// would take it: the left mouse button released over it (its press may have been
// discarded already), the space bar released while it has the focus, or Enter pressed
// while it has the focus (the dialog manager's press of the focused button).
bool pressesButton(const QueuedInput& input, const ButtonState& button);

}  // namespace desktop
