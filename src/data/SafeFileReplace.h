#pragma once
// Replacing a settings file so that a crash, a kill or a full disk at any moment leaves either
// the old file or the new one, never a truncated one: the text goes to "<path>.tmp", is flushed
// to disk, and the temporary file is renamed over the old one in one step.

#include <string>

// False, with a diagnostic naming the path, when anything failed; the old file is then as it
// was and no temporary file is left behind.
bool ReplaceFileSafely(const std::string& path, const std::string& text);
