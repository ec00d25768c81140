// Both Win32 windows as a screen reader reads them through MSAA (oleacc),
// in this process. (Wine 8 gives every window the generic client role and
// no default action, so roles and actions are Windows' to show; names,
// states and the focus are read here.)

#include "about/AboutLayout.h"
#include "monitor/MonitorLayout.h"
#include "platform/win32/Win32Text.h"
#include "ui/win32/Win32AboutWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace tallyflow {
namespace {

// A control's accessible object, as a reader gets it from its window.
// __uuidof, not IID_IAccessible: MinGW's liboleacc.a also exports that name
// as an import thunk, and a link that takes it asks for no interface at all.
class Accessible {
public:
  explicit Accessible(HWND control) {
    ::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void **>(&m_object));
  }
  ~Accessible() {
    if (m_object != nullptr) {
      m_object->Release();
    }
  }
  Accessible(const Accessible &) = delete;
  Accessible &operator=(const Accessible &) = delete;

  std::string Name() const {
    BSTR text = nullptr;
    if (m_object == nullptr || m_object->get_accName(Self(), &text) != S_OK || text == nullptr) {
      return "<no name>";
    }
    std::string name = WideToUtf8(text);
    ::SysFreeString(text);
    return name;
  }
  long State() const {
    VARIANT state;
    ::VariantInit(&state);
    return m_object != nullptr && m_object->get_accState(Self(), &state) == S_OK && state.vt == VT_I4
               ? state.lVal
               : 0;
  }

private:
  static VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
  }
  IAccessible *m_object = nullptr;
};

struct Facts final : ISystemFacts {
  std::optional<std::string> RegisteredOwner() override { return "J\xC3\xBCrgen M\xC3\xBCller"; }
  std::optional<std::string> RegisteredOrganization() override {
    return "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCF\x82";
  }
  std::optional<ProgramCall> SystemInfoTool() override { return std::nullopt; }
};

// What a control reads as: its text, a button's mnemonic marker aside.
std::string Reads(const ControlLayout &c, const std::string &text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (c.kind == ControlKind::Button && text[i] == '&' && i + 1 < text.size()) {
      ++i;
    }
    out += text[i];
  }
  return out;
}

TEST(Msaa, EveryControlOfAboutIsNamedAsItReadsAndTheLinksTakeTheFocus) {
  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  {
    Facts facts;
    Win32AboutWindow::Services s;
    s.form.version.fileDescription = "Tallyflow Manager";
    s.form.version.major = 3;
    s.form.version.revision = 264;
    s.form.version.legalCopyright = "Copyright (c) 2026 Quorrin Software";
    s.form.facts = &facts;
    Win32AboutWindow about(std::move(s), nullptr, 96);
    about.Form().Form_Load();
    ::ShowWindow(about.Hwnd(), SW_SHOWNORMAL);
    for (const ControlLayout &c : AboutLayout()) {
      if (c.kind != ControlKind::Label && c.kind != ControlKind::Button && c.kind != ControlKind::Link) {
        continue;
      }
      SCOPED_TRACE(c.name);
      const HWND control = about.Control(c.id);
      const std::string text = WideToUtf8(about.ControlText(control));
      EXPECT_FALSE(text.empty());
      EXPECT_EQ(Accessible(control).Name(), Reads(c, text));
    }
    EXPECT_EQ(Accessible(about.Control(AboutControl::lblregname)).Name(), "J\xC3\xBCrgen M\xC3\xBCller");
    EXPECT_EQ(Accessible(about.Control(AboutControl::lblregcompany)).Name(),
              "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCF\x82");
    for (AboutControl link : {AboutControl::lblHomePage, AboutControl::lblEMail}) {
      const HWND control = about.Control(link);
      EXPECT_NE(Accessible(control).State() & STATE_SYSTEM_FOCUSABLE, 0) << +link;
      ::SetFocus(control);
      EXPECT_NE(Accessible(control).State() & STATE_SYSTEM_FOCUSED, 0) << +link;
    }
  }
  ::CoUninitialize();
}

} // namespace
} // namespace tallyflow
