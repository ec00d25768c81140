// The monitor window's controls on Qt, made from the shared layout table.

#include "ui/qt/frmTallyflow.h"

#include "ui/qt/AccessibleRoles.h"
#include "ui/qt/ConnectionList.h"
#include "ui/qt/DesignPalette.h"
#include "ui/qt/EnterKey.h"
#include "ui/qt/FigureLabel.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/QtDrawingSurface.h"
#include "ui/qt/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tallyflow {
namespace {

// Each caption labels the control beside it, for accessibility tools.
const std::map<std::string, std::string> &Buddies() {
  static const std::map<std::string, std::string> buddies = {
      {"Label1", "cboConnectionType"}, {"Label2", "lblRecv"},   {"Label3", "lblSent"},
      {"Label4", "lblDSpeed"},         {"Label5", "lblUSpeed"}, {"Label6", "cboUpdateInterval"},
  };
  return buddies;
}

} // namespace

void frmTallyflow::BuildControls() {
  InstallFontSubstitutes();
  setFont(DesignFont("MS Sans Serif", 8.25)); // buttons, check box, combo text

  for (const ControlLayout &c : MonitorLayout()) {
    QWidget *parent = c.parent[0] == '\0' ? static_cast<QWidget *>(this) : m_controls.at(c.parent);
    const QString caption = QString::fromLatin1(c.caption);
    const auto ticked = TickLabelOf(c.name);
    QWidget *w = nullptr;
    switch (c.kind) {
    case ControlKind::Picture:
      m_PIC1 = new QtDrawingSurface(parent, 0);
      m_PIC1->BackColor(kFaceColour); // the face colour until the first Draw makes it black
      SetAccessibleRole(*m_PIC1, AccessibleRole::Picture); // before the name makes its accessible object
      m_PIC1->setAccessibleName("Download graph");
      w = m_PIC1;
      break;
    case ControlKind::Frame: {
      auto *frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      PaintBackground(frame, kDesignFace);
      SetAccessibleRole(*frame, AccessibleRole::Panel);
      w = frame;
      break;
    }
    case ControlKind::Label:
    case ControlKind::ValueBox: {
      // Figures change on every tick: they are FigureLabels, which lay out each text once.
      const bool figure = ticked && *ticked != MonitorLabel::lblType;
      QLabel *l = figure ? new FigureLabel(caption, parent) : new QLabel(caption, parent);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop); // text from the top, as the design draws it
      if (c.kind == ControlKind::ValueBox) {
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setLineWidth(1);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PaintBackground(l, Qt::white);
      }
      if (ticked) {
        m_labels[*ticked] = l;
      }
      w = l;
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::DropDownEdit: {
      QComboBox *combo =
          c.kind == ControlKind::DropDownList ? new ConnectionList(parent) : new QComboBox(parent);
      if (c.kind == ControlKind::DropDownEdit) {
        combo->setEditable(true);
        combo->setCompleter(nullptr); // "150" stays 150: no completion to a listed 1500
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (int ms : ListedIntervals()) {
          combo->addItem(QString::number(ms));
        }
        combo->setEditText(caption);
        cboUpdateInterval = combo;
      } else {
        PaintBackground(combo, Qt::white);
        cboConnectionType = combo;
      }
      w = combo;
      break;
    }
    case ControlKind::Image: {
      auto *image = new QLabel(parent);
      image->setPixmap(ProgramIconPixmap(TwipsToPixels(c.width)));
      image->setAccessibleName("Tallyflow");
      w = image;
      break;
    }
    case ControlKind::CheckBox:
      chkStartUp = new QCheckBox(caption, parent);
      PaintBackground(chkStartUp, kDesignFace);
      w = chkStartUp;
      break;
    case ControlKind::Button: {
      auto *b = new QPushButton(caption, parent);
      PaintBackground(b, kDesignFace);
      PressOnEnter(b); // as Windows buttons do
      (std::string(c.name) == "btnAbout" ? btnAbout : btnExit) = b;
      w = b;
      break;
    }
    case ControlKind::Link:
    case ControlKind::Rule:
    case ControlKind::TextBox:
      continue; // not in this window
    }
    if (c.kind != ControlKind::Picture && c.kind != ControlKind::Frame && c.kind != ControlKind::CheckBox &&
        c.kind != ControlKind::Button) {
      w->setFont(DesignFont(c.font));
    }
    if (c.tip[0] != '\0') {
      // A screen reader says the description at every visit: the tip's first
      // sentence; the rest is for the eye, and the README has it too.
      const QString tip = QString::fromLatin1(c.tip);
      w->setToolTip(tip);
      w->setAccessibleDescription(tip.contains(". ") ? tip.left(tip.indexOf(". ") + 1) : tip);
    }
    w->setObjectName(c.name);
    w->setGeometry(PixelRect(c.left, c.top, c.width, c.height));
    m_controls[c.name] = w;
  }

  // Sized once every font is in place, with the font actually used.
  for (const ControlLayout &c : MonitorLayout()) {
    if (c.sizedToText) {
      m_controls.at(c.name)->adjustSize();
      m_sizedToText.insert(m_controls.at(c.name));
    }
  }
  // A screen reader's flat review reads a panel line by line, a line being
  // the objects whose middles lie within a few pixels: each figure's caption
  // takes its figure's height, its text kept where it was drawn, so that the
  // two read together, caption first, whatever stands beside them.
  for (const auto &[caption, control] : Buddies()) {
    QWidget *figure = m_controls.at(control);
    if (!TickLabelOf(control)) {
      continue; // a list: read as one with its caption anyway
    }
    QWidget *label = m_controls.at(caption);
    const QRect text = label->geometry();
    const int top = std::min(text.top(), figure->geometry().top());
    const int bottom = std::max(text.bottom(), figure->geometry().bottom());
    label->setContentsMargins(0, text.top() - top, 0, bottom - text.bottom());
    label->setGeometry(text.left(), top, text.width(), bottom - top + 1);
  }
  auto *type = static_cast<QLabel *>(m_controls.at("lblType"));
  type->setWordWrap(true);
  type->setStyleSheet("color: rgb(64, 64, 64);");

  // A combo box's accessible name would be its current entry: it takes the
  // caption beside it instead, and the caption labels it.
  cboConnectionType->setAccessibleName("Connection type");
  cboUpdateInterval->setAccessibleName("Update Interval");
  // The field a reader lands in is labelled too. Qt finds a field's labels
  // among its siblings, which are inside the box: a caption there, never
  // shown, names it for the relation.
  auto *fieldCaption = new QLabel("Update Interval", cboUpdateInterval);
  fieldCaption->setObjectName("Label6Field");
  fieldCaption->hide();
  fieldCaption->setBuddy(cboUpdateInterval->lineEdit());
  for (const auto &[caption, control] : Buddies()) {
    static_cast<QLabel *>(m_controls.at(caption))->setBuddy(m_controls.at(control));
  }

  for (const char *name : {"PIC1", "Frame2", "Frame3", "lblRecv", "lblSent", "Image1"}) {
    m_controls.at(name)->setFocusPolicy(Qt::NoFocus);
  }
  // Every label shows its text as characters: interface names, aliases and settings are
  // data, and QLabel would otherwise guess markup and load what it names.
  for (QLabel *l : findChildren<QLabel *>()) {
    l->setTextFormat(Qt::PlainText);
  }
  for (const auto &[id, l] : m_labels) {
    m_captions[id] = l->text().toStdString();
  }
  const auto &order = MonitorTabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    setTabOrder(m_controls.at(order[i]), m_controls.at(order[i + 1]));
  }

  // Connected in the sender's own context: a receiver elsewhere would show
  // as a meaningless "controller for" relation to assistive technology.
  connect(chkStartUp, &QCheckBox::toggled, chkStartUp, [this] { m_form.chkStartUp_Click(); });
  connect(btnAbout, &QPushButton::clicked, btnAbout, [this] { m_form.btnAbout_Click(); });
  connect(btnExit, &QPushButton::clicked, btnExit, [this] { m_form.btnExit_Click(); });
}

} // namespace tallyflow
