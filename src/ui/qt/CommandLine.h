#pragma once

namespace tallyflow {

// The program has no command line of its own but those a person types to
// ask about it: --help (-h), --help-all (with Qt's options) and --version
// (-v) print their answer and end the program with 0, before any window or
// display is needed. Every other
// argument is left alone: ignored by us, and Qt's own (-platform, -session
// from a session manager) still taken by Qt. Call it before the application
// object exists; it returns when the window is to open.
void AnswerCommandLine(int argc, char **argv);

} // namespace tallyflow
