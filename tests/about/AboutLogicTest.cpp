#include "about/AboutLogic.h"

#include "fakes/FakeRegistry.h"
#include "fakes/FakeServices.h"
#include "registry/RegistrySystemFacts.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

using test::FakeRegistry;
constexpr auto HKLM = Hive::LocalMachine;
const std::string kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(AboutLogic, TitleAndCopyright) {
  VersionInfo v;
  v.fileDescription = "Tallyflow Manager";
  v.major = 3;
  v.minor = 0;
  v.build = 0;
  v.revision = 264;
  EXPECT_EQ(ComposeTitle(v), "Tallyflow Manager v3.264");
  struct Case {
    const char *in, *out;
  };
  const Case cases[] = {
      {"Copyright (c) 2026 Quorrin\\nAll rights reserved.",
       "Copyright \xC2\xA9 2026 Quorrin\nAll rights reserved."},
      {"(c)(c) and (C)", "\xC2\xA9\xC2\xA9 and (C)"},
      {"a\\nb\\nc", "a\nb\nc"},
      {"back\\\\n", "back\\\n"},
      {"", ""},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ComposeCopyright(c.in), c.out) << c.in;
  }
  EXPECT_EQ(EmailTarget("Tallyflow Manager v3.264"),
            "mailto:support@example.com?subject=I have question on Tallyflow Manager v3.264");
  EXPECT_EQ(EmailTarget("  odd  title "),
            "mailto:support@example.com?subject=I have question on   odd  title ");
}

TEST(AboutLogic, OwnerAndOrganisationWithTheirFallbacks) {
  struct Case {
    const char *what;
    void (*arrange)(FakeRegistry &);
    const char *owner, *organisation;
  };
  const Case cases[] = {
      {"both set",
       [](FakeRegistry &r) {
         r.Put(HKLM, kNt, "RegisteredOwner", kRegSz, std::string("Ada Lovelace\0", 13));
         r.Put(HKLM, kNt, "RegisteredOrganization", kRegSz, "Analytical Engines");
       },
       "Ada Lovelace", "Analytical Engines"},
      {"no key", [](FakeRegistry &) {}, kUnregisteredName, kUnregisteredCompany},
      {"outside text isolated, its controls shown",
       [](FakeRegistry &r) {
         r.Put(HKLM, kNt, "RegisteredOwner", kRegSz,
               "\xE2\x80\xAE"
               "evil.exe gnp.");
         r.Put(HKLM, kNt, "RegisteredOrganization", kRegSz, "two\nlines");
       },
       "\xE2\x81\xA8\xEF\xBF\xBD"
       "evil.exe gnp.\xE2\x81\xA9",
       "two\xE2\x90\x8Alines"},
      {"empty values",
       [](FakeRegistry &r) {
         r.Put(HKLM, kNt, "RegisteredOwner", kRegSz, "");
         r.Put(HKLM, kNt, "RegisteredOrganization", kRegSz, "");
       },
       kUnregisteredName, kUnregisteredCompany},
      {"owner a kRegDword",
       [](FakeRegistry &r) { r.Put(HKLM, kNt, "RegisteredOwner", kRegDword, std::string("\1\0\0\0", 4)); },
       kUnregisteredName, kUnregisteredCompany},
      {"reads that fail keep the design texts",
       [](FakeRegistry &r) {
         r.Put(HKLM, kNt, "RegisteredOwner", kRegSz, std::string(40000, 'x') + '\0');
         r.Put(HKLM, kNt, "RegisteredOrganization", kRegSz, std::string(33000, 'y') + '\0');
       },
       kUnregisteredName, kUnregisteredCompany},
  };
  for (const auto &c : cases) {
    FakeRegistry reg;
    c.arrange(reg);
    test::FakeFiles files;
    RegistrySystemFacts facts(reg, files);
    const auto texts = LoadAbout(VersionInfo{}, facts);
    EXPECT_EQ(texts.owner, c.owner) << c.what;
    EXPECT_EQ(texts.organisation, c.organisation) << c.what;
    EXPECT_EQ(texts.caption, "About ");
    EXPECT_TRUE(reg.handles.empty()) << c.what;
  }
  FakeRegistry reg;
  reg.Put(HKLM, kNt, "RegisteredOwner", kRegSz, std::string(40000, 'x') + '\0');
  EXPECT_FALSE(GetString(reg, HKLM, kNt, "RegisteredOwner")) << "the NUL lies beyond 32,767";
  reg.Put(HKLM, kNt, "RegisteredOwner", kRegSz, std::string(32000, 'x') + '\0');
  EXPECT_EQ(GetString(reg, HKLM, kNt, "RegisteredOwner")->size(), 32000u);
}

TEST(AboutLogic, SystemInformationLauncherChain) {
  struct Case {
    const char *what;
    void (*arrange)(FakeRegistry &, test::FakeFiles &);
    const char *started; // "" when nothing may start
    bool message;
    bool secondLookUp;
  };
  const Case cases[] = {
      {"PATH names a missing file",
       [](FakeRegistry &r, test::FakeFiles &) {
         r.Put(HKLM, kMsinfo, "PATH", kRegSz, "C:\\gone\\msinfo32.exe");
       },
       "C:\\gone\\msinfo32.exe", true, false},
      {"PATH names a file",
       [](FakeRegistry &r, test::FakeFiles &f) {
         r.Put(HKLM, kMsinfo, "PATH", kRegSz, "C:\\Tools\\msinfo32.exe");
         f.files.insert("C:\\Tools\\msinfo32.exe");
       },
       "C:\\Tools\\msinfo32.exe", false, false},
      {"MSINFO folder with the tool",
       [](FakeRegistry &r, test::FakeFiles &f) {
         r.Put(HKLM, kLocation, "MSINFO", kRegSz, "C:\\Shared\\MSInfo");
         f.files.insert("C:\\Shared\\MSInfo\\MSINFO32.EXE");
       },
       "C:\\Shared\\MSInfo\\MSINFO32.EXE", false, true},
      {"MSINFO folder without the tool",
       [](FakeRegistry &r, test::FakeFiles &) {
         r.Put(HKLM, kLocation, "MSINFO", kRegSz, "C:\\Shared\\MSInfo");
       },
       "", true, true},
      {"PATH over 1,024 bytes counts as missing",
       [](FakeRegistry &r, test::FakeFiles &f) {
         r.Put(HKLM, kMsinfo, "PATH", kRegSz, std::string(1100, 'p'));
         r.Put(HKLM, kLocation, "MSINFO", kRegSz, "C:\\Shared\\MSInfo");
         f.files.insert("C:\\Shared\\MSInfo\\MSINFO32.EXE");
       },
       "C:\\Shared\\MSInfo\\MSINFO32.EXE", false, true},
      {"PATH of another type gives an empty path",
       [](FakeRegistry &r, test::FakeFiles &) { r.Put(HKLM, kMsinfo, "PATH", 3, "bin"); }, "", true, false},
      {"PATH stored with size 0",
       [](FakeRegistry &r, test::FakeFiles &) {
         r.Put(HKLM, kMsinfo, "PATH", kRegSz, "");
         r.Put(HKLM, kLocation, "MSINFO", kRegSz, "C:\\Shared\\MSInfo");
       },
       "", true, false},
      {"nothing registered", [](FakeRegistry &, test::FakeFiles &) {}, "", true, true},
  };
  for (const auto &c : cases) {
    FakeRegistry reg;
    test::FakeFiles files;
    c.arrange(reg, files);
    reg.opened.clear();
    test::FakeStarter starter;
    starter.files = &files;
    test::FakeMessages messages;
    RegistrySystemFacts facts(reg, files);
    StartSysInfo(facts, starter, messages);
    SCOPED_TRACE(c.what);
    if (*c.started != '\0') {
      ASSERT_EQ(starter.started.size(), 1u);
      EXPECT_EQ(starter.started[0], c.started);
    } else {
      EXPECT_TRUE(starter.started.empty());
    }
    EXPECT_EQ(messages.shown,
              c.message ? std::vector<std::string>{kSysInfoUnavailable} : std::vector<std::string>{});
    const bool second = std::find(reg.opened.begin(), reg.opened.end(), kLocation) != reg.opened.end();
    EXPECT_EQ(second, c.secondLookUp);
  }
}

} // namespace
} // namespace tallyflow
