#pragma once

// Keeps the toolkit's own notices off the operator's terminal. A headless run
// (export-xls, --screenshot, sql) must print our lines only: the offscreen
// platform's notices about what it cannot do, and the runtime-folder warning,
// read as errors to the people who run these commands.
namespace ToolkitNotices {

// Points XDG_RUNTIME_DIR at a private folder of this user's when it is unset.
// Call before the application object is made.
void ensureRuntimeFolder();

// Drops the platform's "This plugin does not support ..." notices; every other
// message goes on to the handler installed before.
void filterPlatformNotices();

} // namespace ToolkitNotices
