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

using C = MonitorControl;

void frmTallyflow::BuildControls() {
  InstallFontSubstitutes();
  setFont(DesignFont("MS Sans Serif", 8.25)); // buttons, check box, combo text

  for (const ControlLayout &c : MonitorLayout()) {
    QWidget *parent = c.parent == +C::Form ? static_cast<QWidget *>(this) : m_controls.at(c.parent);
    const QString caption = QString::fromLatin1(c.caption);
    const auto ticked = TickLabelOf(c.id);
    QWidget *w = nullptr;
    switch (c.kind) {
    case ControlKind::Picture:
      m_PIC1 = new QtDrawingSurface(parent, 0);
      m_PIC1->BackColor(kFaceColour); // the face colour until the first Draw makes it black
      SetAccessibleRole(*m_PIC1, AccessibleRole::Picture); // before the name makes its accessible object
      w = m_PIC1;
      break;
    case ControlKind::Frame: {
      auto *frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box |
                           (c.look.frame == FrameStyle::Etched ? QFrame::Sunken : QFrame::Plain));
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
        l->setAlignment((c.look.align == TextAlign::Right ? Qt::AlignRight : Qt::AlignLeft) |
                        Qt::AlignVCenter);
        PaintBackground(l, ToQColor(kBoxColour));
      }
      PaintText(l, c.look.text);
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
        PaintBackground(combo, ToQColor(kBoxColour));
        cboConnectionType = combo;
      }
      w = combo;
      break;
    }
    case ControlKind::Image: {
      auto *image = new QLabel(parent);
      image->setPixmap(ProgramIconPixmap(TwipsToPixels(c.width)));
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
      (c.id == +C::btnAbout ? btnAbout : btnExit) = b;
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
    if (c.look.accessibleName[0] != '\0') {
      w->setAccessibleName(c.look.accessibleName);
    }
    w->setObjectName(c.name);
    w->setGeometry(PixelRect(c.left, c.top, c.width, c.height));
    m_controls[c.id] = w;
  }

  // Sized once every font is in place, with the font actually used.
  for (const ControlLayout &c : MonitorLayout()) {
    if (c.sizedToText) {
      m_controls.at(c.id)->adjustSize();
      m_sizedToText.insert(m_controls.at(c.id));
    }
  }
  // A screen reader's flat review reads a panel line by line, a line being
  // the objects whose middles lie within a few pixels: each figure's caption
  // takes its figure's height, its text kept where it was drawn, so that the
  // two read together, caption first, whatever stands beside them.
  for (const ControlLayout &c : MonitorLayout()) {
    if (c.look.labels == 0 || !TickLabelOf(c.look.labels)) {
      continue; // a list: read as one with its caption anyway
    }
    QWidget *figure = m_controls.at(c.look.labels);
    QWidget *label = m_controls.at(c.id);
    const QRect text = label->geometry();
    const int top = std::min(text.top(), figure->geometry().top());
    const int bottom = std::max(text.bottom(), figure->geometry().bottom());
    label->setContentsMargins(0, text.top() - top, 0, bottom - text.bottom());
    label->setGeometry(text.left(), top, text.width(), bottom - top + 1);
  }
  static_cast<QLabel *>(m_controls.at(+C::lblType))->setWordWrap(true);

  // A combo box's accessible name would be its current entry: it takes the
  // caption beside it instead (the layout's name), and the caption labels it.
  // The field a reader lands in is labelled too. Qt finds a field's labels
  // among its siblings, which are inside the box: a caption there, never
  // shown, names it for the relation.
  auto *fieldCaption =
      new QLabel(QString::fromLatin1(EntryOf(MonitorLayout(), +C::cboUpdateInterval).look.accessibleName),
                 cboUpdateInterval);
  fieldCaption->setObjectName("Label6Field");
  fieldCaption->hide();
  fieldCaption->setBuddy(cboUpdateInterval->lineEdit());
  for (const ControlLayout &c : MonitorLayout()) {
    if (c.look.labels != 0) {
      static_cast<QLabel *>(m_controls.at(c.id))->setBuddy(m_controls.at(c.look.labels));
    }
  }

  for (C id : {C::PIC1, C::Frame2, C::Frame3, C::lblRecv, C::lblSent, C::Image1}) {
    m_controls.at(+id)->setFocusPolicy(Qt::NoFocus);
  }
  // Every label shows its text as characters: interface names, aliases and settings are
  // data, and QLabel would otherwise guess markup and load what it names.
  for (QLabel *l : findChildren<QLabel *>()) {
    l->setTextFormat(Qt::PlainText);
  }
  for (const auto &[id, l] : m_labels) {
    m_captions[id] = l->text().toStdString();
  }
  const std::vector<int> &order = MonitorTabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    setTabOrder(m_controls.at(order[i]), m_controls.at(order[i + 1]));
  }

  // Connected in the sender's own context: a receiver elsewhere would show
  // as a meaningless "controller for" relation to assistive technology.
  connect(chkStartUp, &QCheckBox::toggled, chkStartUp, [this] { m_form.Click(C::chkStartUp); });
  for (QPushButton *b : {btnAbout, btnExit}) {
    const auto id = b == btnAbout ? C::btnAbout : C::btnExit;
    connect(b, &QPushButton::clicked, b, [this, id] { m_form.Click(id); });
  }
}

} // namespace tallyflow
