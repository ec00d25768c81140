#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

// The Exec value of a desktop entry that runs `program` with no arguments:
// the program quoted and escaped by the desktop-entry rules (inside double
// quotes a backslash escapes ", `, $ and \; "%" is written "%%"), then the
// string-value escapes of the file format, so no path can inject a command.
// GLib looks for the program named by the raw value before it expands
// "%%", so a path with "%" is run through env, which GLib finds; env would
// take a following "=" for a variable, so a path with both has no form.
std::optional<std::string> DesktopExecValue(const std::string &program);

// Splits an Exec value as a launcher would (undoing both escape levels and
// field-code "%%"); nothing for a malformed value.
std::optional<std::vector<std::string>> ParseDesktopExec(const std::string &value);

// The program an Exec value runs, as DesktopExecValue writes it: one
// argument, or env and one argument.
std::optional<std::string> ProgramOfExec(const std::string &value);

// A complete autostart entry: Type, Name, TryExec (the program itself), Exec
// and the menu entry's Icon; nothing when no Exec value can run `program`.
std::optional<std::string> AutostartEntry(const std::string &name, const std::string &program);

// The Exec value found in an entry's text, if any.
std::optional<std::string> FindExecValue(const std::string &entryText);

} // namespace tallyflow
