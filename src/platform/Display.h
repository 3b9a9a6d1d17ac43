#pragma once

namespace platform {

// One frame of a 60 Hz display, in milliseconds: controls that change often show their changes
// at most once a frame.
inline constexpr int DisplayFrameMs = 16;

} // namespace platform
