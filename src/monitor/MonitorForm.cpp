#include "monitor/MonitorForm.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace tallyflow {
namespace {

constexpr std::int64_t kDefaultInterval = 200; // ms

// Stored numbers are our own decimal texts: no grouping, "." for a fraction.
const NumberLocale kStoredNumbers{"", "."};

} // namespace

MonitorForm::MonitorForm(IMonitorWindow &window, Services services)
    : m_window(window), m_services(std::move(services)) {}

MonitorForm::~MonitorForm() = default;

std::string MonitorForm::SettingsKey() const {
  return "Software\\Quorrin Software\\" + m_services.facts.exeName + "\\Main";
}

double MonitorForm::StoredTwips(const std::optional<std::string> &text) {
  const auto number = text ? ReadNumber(*text, kStoredNumbers) : std::nullopt;
  constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
  if (!number || !std::isfinite(*number) || std::fabs(*number) > kLimit) {
    return 0;
  }
  return static_cast<double>(static_cast<float>(*number));
}

bool MonitorForm::WithinOneArea(const TwipsRect &outer, const std::vector<TwipsRect> &areas) {
  for (const TwipsRect &a : areas) {
    if (outer.left >= a.left && outer.top >= a.top && outer.right() <= a.right() &&
        outer.bottom() <= a.bottom()) {
      return true;
    }
  }
  return false;
}

void MonitorForm::CentreWindow() {
  const auto outer = m_window.OuterBounds();
  if (!outer) {
    return;
  }
  const TwipsRect screen = m_window.PrimaryScreen();
  const auto d = static_cast<std::int64_t>(std::nearbyint(screen.height - outer->height));
  const auto w = static_cast<std::int64_t>(std::nearbyint(screen.width - outer->width));
  m_window.MoveOuter(screen.left + static_cast<double>(w / 2), screen.top + static_cast<double>(d / 2));
}

// A stored place is used only when the whole frame lies within one screen's
// work area: a window partly off every screen may be out of reach of the
// mouse, and the stored numbers may come from another screen setup.
void MonitorForm::PlaceWindow(double leftTwips, double topTwips) {
  const auto outer = m_window.OuterBounds();
  if (!outer) {
    return; // the system places the window
  }
  const TwipsRect wanted{leftTwips, topTwips, outer->width, outer->height};
  m_centred = leftTwips == 0 || topTwips == 0 || !WithinOneArea(wanted, m_window.WorkAreas());
  if (m_centred) {
    CentreWindow();
  } else {
    m_window.MoveOuter(leftTwips, topTwips);
  }
}

void MonitorForm::KeepWithinReach() {
  const auto outer = m_window.OuterBounds();
  if (outer && !WithinOneArea(*outer, m_window.WorkAreas())) {
    m_centred = true;
    CentreWindow();
  }
}

void MonitorForm::Form_Load() {
  IRegistry &reg = *m_services.registry;
  const std::string key = SettingsKey();
  PlaceWindow(StoredTwips(GetRegValue(reg, Hive::CurrentUser, key, "Left")),
              StoredTwips(GetRegValue(reg, Hive::CurrentUser, key, "Top")));

  const std::string interval = GetRegValue(reg, Hive::CurrentUser, key, "UpdateInterval").value_or("");
  m_window.UpdateIntervalText(interval);
  if (const auto usable = MonitorTick::ParseInterval(interval, m_services.locale)) {
    m_window.tmrUpdate().Interval(*usable);
  } else {
    // Empty, not a number, or one the timer cannot use (0 would stop it).
    m_window.tmrUpdate().Interval(kDefaultInterval);
    m_window.UpdateIntervalText(std::to_string(kDefaultInterval));
  }

  colSamples.assign(100, 0.0);
  objGraph.PictureBox(&m_window.PIC1());
  objGraph.DataCollection(&colSamples);
  objGraph.PicBackground(0);
  objGraph.PicForeground(0x00FF00);
  objGraph.BorderColor(0x0000FF);
  objGraph.BorderSize(0);
  objGraph.GridColor(0x808000);
  objGraph.GridVisible(true);

  objIpHelper = std::make_shared<CIpHelper>(m_services.ifTable);
  m_tick =
      std::make_unique<MonitorTick>(m_window, m_services.yield, *m_services.settings, objIpHelper, objGraph,
                                    colSamples, *m_services.clock, m_services.locale, m_services.facts.title);
  m_window.tmrUpdate().OnTick([this] { m_tick->tmrUpdate_Timer(); });
  m_window.Timer1().OnTick([this] { m_tick->Timer1_Timer(); });
  if (!m_tick->RebuildConnectionList(*objIpHelper->Interfaces()) && m_window.ConnectionCount() > 0) {
    m_window.ConnectionIndex(0); // a stored index that cannot be selected: the first entry
  }

  // The flag as a whole number (nearest, halves to even): "01" is 1 and
  // checks the box; anything else leaves it unchecked. A change raises the click.
  const auto startUp = GetRegValue(reg, Hive::CurrentUser, key, "StartUp");
  const auto flag = startUp ? ReadNumber(*startUp, kStoredNumbers) : std::nullopt;
  const bool checked = flag && std::nearbyint(*flag) == 1;
  if (checked != m_window.StartUpBox()) {
    m_window.StartUpBox(checked);
    chkStartUp_Click();
  }

  m_window.tmrUpdate().Enabled(true);
  m_window.Timer1().Enabled(true);
  m_window.Show(m_window.StartUpBox() ? WindowState::Minimised : WindowState::Normal);
}

void MonitorForm::Form_Unload() {
  if (m_unloading) {
    return;
  }
  m_unloading = true;
  // One write: a position is never saved half (Left without Top).
  std::vector<std::pair<std::string, std::string>> values;
  const auto outer = m_window.OuterBounds();
  if (m_window.State() == WindowState::Normal && outer) {
    values.emplace_back("Left", std::to_string(static_cast<long long>(outer->left)));
    values.emplace_back("Top", std::to_string(static_cast<long long>(outer->top)));
  }
  values.emplace_back("UpdateInterval", m_window.UpdateIntervalText());
  SetRegValues(*m_services.registry, Hive::CurrentUser, SettingsKey(), values);
  m_window.tmrUpdate().Enabled(false);
  m_window.Timer1().Enabled(false);
  if (m_services.endProgram) {
    m_services.endProgram();
  }
}

void MonitorForm::chkStartUp_Click() {
  const PathStyle style = m_services.pathStyle;
  const std::string fullPath =
      JoinPath(m_services.facts.exeDirectory, GetFileName(m_services.facts.exePath, style), style);
  IRegistry &reg = *m_services.registry;
  const auto add = [&] { return AddStartUpEntry(reg, fullPath, style); };
  const auto remove = [&] { return RemoveStartUpEntry(reg, fullPath, style); };
  const auto saveFlag = [&](bool on) {
    return SetRegValue(reg, Hive::CurrentUser, SettingsKey(), "StartUp", on ? "1" : "0");
  };
  // The box says whether the program will start at log-on, and the entry
  // and the "StartUp" flag change together: when the flag cannot be saved,
  // the entry goes back as it was. The box falls back when no entry could
  // be written, and stays ticked while an entry that could not be removed
  // remains.
  const bool wanted = m_window.StartUpBox();
  bool starts = wanted ? add() : !remove();
  if (starts == wanted && !saveFlag(wanted)) {
    starts = wanted ? !remove() : add();
  } else if (starts != wanted) {
    saveFlag(starts);
  }
  if (starts != wanted) {
    m_window.StartUpBox(starts);
  }
}

void MonitorForm::btnAbout_Click() {
  if (m_services.showAbout) {
    m_services.showAbout();
  }
}

void MonitorForm::btnExit_Click() { Form_Unload(); }

void MonitorForm::Click(MonitorControl control) {
  switch (control) {
  case MonitorControl::chkStartUp:
    chkStartUp_Click();
    break;
  case MonitorControl::btnAbout:
    btnAbout_Click();
    break;
  case MonitorControl::btnExit:
    btnExit_Click();
    break;
  default:
    break;
  }
}

} // namespace tallyflow
