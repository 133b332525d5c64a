#pragma once

namespace invorator {

// The window program: `invorator [FILE]` opens the window (and converts FILE, its kind
// chosen by content); `invorator --screenshot OUT.png FILE` converts FILE, writes a picture
// of the whole window and exits.
int RunApplication(int argc, char *argv[]);

} // namespace invorator
