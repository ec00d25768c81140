#include "monitor/MonitorTick.h"

#include "pictures/OutsideText.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace tallyflow {
namespace {

constexpr double kBytesPerKB = 1024.0;
// The pictures, parsed once.
const NumberPicture kTotalPicture("###,###,###,###,##0 KB");
const NumberPicture kRatePicture("###,###,###,###,#0.#0 Kb/S");
const NumberPicture kSamplePicture("###,###,###,###,#0.#0");
const NumberPicture kBytesPicture("0 BS ");
const NumberPicture kKBPicture("0.#0 KBS ");
constexpr double kSampleLift = 5; // an idle line lies 5 units above the bottom

// The number at the start of a text (leading blanks and sign allowed), 0 when
// it does not start with one: "3", " 2.5 ", "4abc" give 3, 2.5, 4.
double LeadingNumber(const std::string &text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) {
    return 0;
  }
  std::size_t end = i;
  if (text[end] == '-' || text[end] == '+') {
    ++end;
  }
  bool digits = false;
  bool point = false;
  for (; end < text.size(); ++end) {
    if (text[end] >= '0' && text[end] <= '9') {
      digits = true;
    } else if (text[end] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) {
    return 0;
  }
  // from_chars takes no '+' and ignores the C locale (which Qt sets from the
  // user's, and which could make '.' mean nothing).
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') {
    ++i;
  }
  double value = 0;
  std::from_chars(text.data() + i, text.data() + end, value);
  return negative ? -value : value;
}

} // namespace

MonitorTick::MonitorTick(IMonitorWindow &window, IYield *yield, const ISettingsStore &settings,
                         std::shared_ptr<CIpHelper> ipHelper, clsLineGraph &graph, SampleSeries &samples,
                         const IMonotonicClock &clock, NumberLocale locale, std::string appTitle)
    : m_window(window), m_yield(yield), m_settings(settings), objIpHelper(std::move(ipHelper)),
      objGraph(graph), colSamples(samples), m_clock(clock), m_locale(std::move(locale)),
      m_appTitle(std::move(appTitle)) {}

void MonitorTick::DoEvents() {
  if (m_yield != nullptr) {
    m_yield->RunPendingEvents();
  }
}

// A step reports failure by returning false or by an exception from what it
// calls (a collection position, an allocation); either way only that step
// ends, as the tick must go on and re-arm its timer.
template <typename Step> void MonitorTick::Guarded(Step &&step) {
  try {
    if (!step()) {
      ++m_failedSteps;
    }
  } catch (const std::exception &) {
    ++m_failedSteps;
  }
}

std::optional<std::int64_t> MonitorTick::ParseInterval(const std::string &text, const NumberLocale &locale) {
  const auto number = ReadNumber(text, locale);
  if (!number) {
    return std::nullopt;
  }
  const double rounded = std::nearbyint(*number); // halves to even in the default rounding mode
  if (!(rounded >= 1 && rounded <= static_cast<double>(ITimer::kMaxInterval))) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(rounded);
}

bool MonitorTick::ApplyInterval() {
  const auto interval = ParseInterval(m_window.UpdateIntervalText(), m_locale);
  return interval && m_window.tmrUpdate().Interval(*interval);
}

bool MonitorTick::ShowType(const CInterfaces &snapshot) {
  const int position = m_window.ConnectionIndex() + 1;
  if (position < 1 || position > snapshot.Count()) {
    return false; // no selection, or beyond this snapshot: lblType keeps its caption
  }
  const auto &rec = snapshot.begin()[position - 1]; // position lies in 1..Count
  m_text.clear();
  AppendShownAsOutsideText(m_text, rec->InterfaceDescription());
  m_text.append(" ");
  return m_window.Caption(MonitorLabel::lblType, m_text);
}

bool MonitorTick::WriteStatistics() {
  const struct {
    MonitorLabel label;
    const char *prefix;
    double value;
  } rows[] = {
      {MonitorLabel::lblDownloadSpeedTop, "Top download speed: ", dblTopDownload},
      {MonitorLabel::lblUploadSpeedTop, "Top upload speed: ", dblTopUpload},
      {MonitorLabel::lblDownloadSpeedAverage, "Average download speed: ", dblAverageDownload},
      {MonitorLabel::lblUploadSpeedAverage, "Average upload speed: ", dblAverageUpload},
  };
  for (const auto &row : rows) {
    const auto text = kRatePicture.Render(row.value / kBytesPerKB, m_locale);
    if (!text) {
      return false;
    }
    m_text.assign(row.prefix).append(*text);
    if (!m_window.Caption(row.label, m_text)) {
      return false;
    }
  }
  return true;
}

bool MonitorTick::AppendSample() {
  const auto text = kSamplePicture.Render(dblAverageDownload / kBytesPerKB, m_locale);
  if (!text) {
    return false;
  }
  const auto back = ReadNumber(*text, m_locale);
  if (!back) {
    return false;
  }
  colSamples.push_back(std::floor(*back) + kSampleLift);
  return true;
}

bool MonitorTick::WriteSpeed(MonitorLabel label, double bytesPerSecond) {
  // Chosen after rounding (halves away from zero, as the picture rounds), so
  // 1023.5 B/s shows as "1.00 KBS ", never as "1024 BS ".
  const auto text = std::round(bytesPerSecond) < kBytesPerKB
                        ? kBytesPicture.Render(bytesPerSecond, m_locale)
                        : kKBPicture.Render(bytesPerSecond / kBytesPerKB, m_locale);
  return text && m_window.Caption(label, *text);
}

bool MonitorTick::SyncConnectionList() {
  // The check needs only the count of a fresh table; a rebuild fills every
  // entry from one fresh snapshot, so the list matches a single state.
  if (objIpHelper->InterfaceCount() == m_window.ConnectionCount()) {
    return true; // nothing changes; the user's selection stays
  }
  return RebuildConnectionList(*objIpHelper->Interfaces());
}

bool MonitorTick::RebuildConnectionList(const CInterfaces &snapshot) {
  m_window.ConnectionClear();
  for (const auto &rec : snapshot) {
    m_window.ConnectionAdd(ShownAsOutsideText(rec->InterfaceDescription()) + " ");
  }
  // One read of the store per rebuild: it may be a large file of other programs' settings.
  const double k = LeadingNumber(m_settings.GetSetting(m_appTitle, "Setting", "Connection", "0"));
  if (k + 1 <= m_window.ConnectionCount()) {
    const double stored = std::nearbyint(k);
    return stored >= -1 && stored <= 32767 && m_window.ConnectionIndex(static_cast<std::int16_t>(stored));
  }
  return m_window.ConnectionIndex(0);
}

void MonitorTick::tmrUpdate_Timer() {
  m_window.tmrUpdate().Enabled(false);
  Guarded([&] { return ApplyInterval(); });

  std::shared_ptr<CInterfaces> snapshot;
  std::chrono::nanoseconds now{};
  Guarded([&] {
    snapshot = objIpHelper->Interfaces();
    now = m_clock.Now();
    return ShowType(*snapshot);
  });
  const double received = objIpHelper->BytesReceived(); // bytes, 64-bit total
  const double sent = objIpHelper->BytesSent();
  DoEvents();

  // This tick's rates: 0 on the first tick and for a failed (empty) snapshot,
  // which also leaves the last good snapshot in place for the next tick.
  double receivedRate = 0; // bytes/s
  double sentRate = 0;     // bytes/s
  const bool good = snapshot && snapshot->Count() > 0;
  Guarded([&] {
    if (good && m_lastSnapshot) {
      const auto elapsed = now - m_lastSnapshotTime;
      if (elapsed.count() > 0) {
        const ByteDelta delta = m_delta.Between(*m_lastSnapshot, *snapshot, elapsed);
        const double seconds = std::chrono::duration<double>(elapsed).count();
        receivedRate = static_cast<double>(delta.received) / seconds;
        sentRate = static_cast<double>(delta.sent) / seconds;
      }
    }
    return true;
  });
  dblTopDownload = std::max(dblTopDownload, receivedRate);
  dblTopUpload = std::max(dblTopUpload, sentRate);
  DoEvents();

  Guarded([&] {
    const auto text = kTotalPicture.Render(received / kBytesPerKB, m_locale);
    return text && m_window.Caption(MonitorLabel::lblRecv, *text);
  });
  Guarded([&] {
    const auto text = kTotalPicture.Render(sent / kBytesPerKB, m_locale);
    return text && m_window.Caption(MonitorLabel::lblSent, *text);
  });
  dblAverageDownload = (receivedRate + dblAverageDownload) / 2;
  dblAverageUpload = (sentRate + dblAverageUpload) / 2;
  Guarded([&] { return WriteStatistics(); });
  Guarded([&] {
    m_text.assign(m_window.Caption(MonitorLabel::lblDownloadSpeedTop))
        .append(" ")
        .append(m_window.Caption(MonitorLabel::lblUploadSpeedTop))
        .append(" ")
        .append(m_window.Caption(MonitorLabel::lblDownloadSpeedAverage));
    m_window.Title(m_text);
    return true;
  });
  Guarded([&] { return AppendSample(); });
  objGraph.Draw();
  Guarded([&] { return WriteSpeed(MonitorLabel::lblDSpeed, receivedRate); });
  Guarded([&] { return WriteSpeed(MonitorLabel::lblUSpeed, sentRate); });
  if (good) {
    m_lastSnapshot = snapshot;
    m_lastSnapshotTime = now;
  }
  Guarded([&] { return SyncConnectionList(); });
  m_window.tmrUpdate().Enabled(true);
}

void MonitorTick::Timer1_Timer() {
  if (dblTopDownload != 0) {
    dblTopDownload = 0;
    dblTopUpload = 0;
  } else {
    m_window.Timer1().Enabled(false);
  }
}

} // namespace tallyflow
