#include "platform/linux/settings/DesktopEntry.h"

#include <sstream>

namespace tallyflow {
namespace {

// Escapes for a desktop-file string value: backslash, and the control
// characters that would break the line.
std::string EscapeStringValue(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\t':
      out += "\\t";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapeStringValue(const std::string &text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) {
      return std::nullopt;
    }
    switch (text[i]) {
    case '\\':
      out += '\\';
      break;
    case 'n':
      out += '\n';
      break;
    case 't':
      out += '\t';
      break;
    case 'r':
      out += '\r';
      break;
    case 's':
      out += ' ';
      break;
    default:
      return std::nullopt;
    }
  }
  return out;
}

} // namespace

std::optional<std::string> DesktopExecValue(const std::string &program) {
  const bool percent = program.find('%') != std::string::npos;
  if (percent && program.find('=') != std::string::npos) {
    return std::nullopt;
  }
  std::string quoted = percent ? "env \"" : "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
    if (c == '%') {
      quoted += '%'; // a literal percent sign is "%%" even inside quotes
    }
  }
  quoted += '"';
  return EscapeStringValue(quoted);
}

std::optional<std::vector<std::string>> ParseDesktopExec(const std::string &value) {
  const auto unescaped = UnescapeStringValue(value);
  if (!unescaped) {
    return std::nullopt;
  }
  const std::string &s = *unescaped;
  std::vector<std::string> args;
  std::string current;
  bool inArg = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ' ') {
      if (inArg) {
        args.push_back(current);
        current.clear();
        inArg = false;
      }
    } else if (c == '"') {
      inArg = true;
      for (++i;; ++i) {
        if (i >= s.size()) {
          return std::nullopt; // unterminated quote
        }
        if (s[i] == '"') {
          break;
        }
        if (s[i] == '\\') {
          if (++i >= s.size()) {
            return std::nullopt;
          }
          if (s[i] != '"' && s[i] != '`' && s[i] != '$' && s[i] != '\\') {
            return std::nullopt;
          }
        } else if (s[i] == '%') {
          if (++i >= s.size() || s[i] != '%') {
            return std::nullopt;
          }
        }
        current += s[i];
      }
    } else if (c == '%') {
      if (++i >= s.size() || s[i] != '%') {
        return std::nullopt; // field codes other than %% are not ours
      }
      current += '%';
      inArg = true;
    } else {
      current += c;
      inArg = true;
    }
  }
  if (inArg) {
    args.push_back(current);
  }
  return args;
}

std::optional<std::string> ProgramOfExec(const std::string &value) {
  const auto args = ParseDesktopExec(value);
  if (args && args->size() == 1) {
    return args->front();
  }
  if (args && args->size() == 2 && args->front() == "env") {
    return args->back();
  }
  return std::nullopt;
}

std::optional<std::string> AutostartEntry(const std::string &name, const std::string &program) {
  const auto exec = DesktopExecValue(program);
  if (!exec) {
    return std::nullopt;
  }
  // TryExec: a session skips the entry once the program is gone.
  return "[Desktop Entry]\nType=Application\nName=" + EscapeStringValue(name) +
         "\nTryExec=" + EscapeStringValue(program) + "\nExec=" + *exec + "\nIcon=com.example.Tallyflow\n";
}

std::optional<std::string> FindExecValue(const std::string &entryText) {
  std::istringstream in(entryText);
  std::string line;
  bool inMain = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.front() == '[') {
      inMain = line == "[Desktop Entry]";
    } else if (inMain && line.rfind("Exec=", 0) == 0) {
      return line.substr(5);
    }
  }
  return std::nullopt;
}

} // namespace tallyflow
