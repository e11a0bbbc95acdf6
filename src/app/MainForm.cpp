#include "MainForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <chrono>
#include <thread>

#include "Application.h"
#include "Artwork.h"
#include "FlatTabControl.h"
#include "FormControls.h"
#include "GifTab.h"
#include "JpgTab.h"
#include "Label.h"
#include "Maker.h"
#include "PreviewLayout.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

const QString kHomepageHint = QStringLiteral("Visit our homepage  --  ") + kMakerHomepage;
const QString kEmailHint =
    QStringLiteral("Any questions, suggestions or any other topic ,please email to us  --  ") + kMakerEmail;

TLabel* PictureLabel(QWidget* parent, const char* name, const QRect& place, const QPixmap& picture) {
  auto* label = Placed(new TLabel(parent), name, place);
  label->setPixmap(picture);
  label->setScaledContents(true);
  return label;
}

TLabel* HotSpot(QWidget* parent, const char* name, int left, const QString& hint) {
  auto* label = Placed(new TLabel(parent), name, QRect(left, 4, 20, 20));
  label->setCursor(Qt::PointingHandCursor);
  SetHint(label, hint);
  return label;
}

QToolButton* ToolButton(QWidget* parent, const char* name, int left, int width) {
  auto* button = Placed(new QToolButton(parent), name, QRect(left, 3, width, 49));
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setIconSize(QSize(24, 24));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

void SetButton(QToolButton* button, const QString& caption, TGlyph glyph, const QString& hint) {
  button->setText(caption);
  button->setIcon(ToolbarGlyph(glyph));
  SetHint(button, hint);
}

}  // namespace

TForm1::TForm1(TUiServices& ui, const std::filesystem::path& appDir)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), FUi(ui), FDialogs(ui) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kApplicationTitle);
  setWindowIcon(WindowIcon());
  setFixedSize(699, 444);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(0xE7, 0xE7, 0xE7));
  setPalette(background);
  setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #A0A0A0; margin-top: 6px; }"
                               "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));

  CreateFrame();
  CreateToolBar();
  CreateTabs(appDir);
  FlatSpeedButton8->setEnabled(false);
  BindHandlers();
  move(CentreOnScreen(size(), screen()->geometry().size()) + screen()->geometry().topLeft());
  FlatTabControl1->setFocus();
}

void TForm1::CreateFrame() {
  ImageBorderTop = PictureLabel(this, "ImageBorderTop", QRect(0, 0, 700, 36), MainTitleBarPicture());
  Label3 = HotSpot(this, "Label3", 602, kHomepageHint);
  Label4 = HotSpot(this, "Label4", 627, QStringLiteral("Help"));
  Label5 = HotSpot(this, "Label5", 652, QStringLiteral("Minimize"));
  Label6 = HotSpot(this, "Label6", 677, QStringLiteral("Close"));
  ImageBorderLeft = PictureLabel(this, "ImageBorderLeft", QRect(0, 36, 2, 406), BorderStripPicture());
  ImageBorderRight = PictureLabel(this, "ImageBorderRight", QRect(697, 36, 2, 406), BorderStripPicture());
  ImageBorderBottom = PictureLabel(this, "ImageBorderBottom", QRect(0, 442, 699, 2), BorderStripPicture());

  FlatTabControl1 = Placed(new TFlatTabControl(this, {QStringLiteral("GIF Optimizer"), QStringLiteral("JPG Optimizer")}),
                           "FlatTabControl1", QRect(7, 99, 684, 321));
  SB = Placed(new QStatusBar(this), "SB", QRect(2, 423, 695, 19));
  SB->setSizeGripEnabled(false);
}

void TForm1::CreateToolBar() {
  ToolBar2 = Placed(new QFrame(this), "ToolBar2", QRect(3, 36, 694, 55));
  ToolBar2->setStyleSheet(QStringLiteral("QFrame#ToolBar2 { border-top: 1px solid #FFFFFF;"
                                         " border-bottom: 1px solid #A0A0A0; }"));
  QToolButton** buttons[] = {&FlatSpeedButton1, &FlatSpeedButton11, &FlatSpeedButton2, &FlatSpeedButton9,
                             &FlatSpeedButton8, &FlatSpeedButton7, &FlatSpeedButton6, &FlatSpeedButton5};
  const char* names[] = {"FlatSpeedButton1", "FlatSpeedButton11", "FlatSpeedButton2", "FlatSpeedButton9",
                         "FlatSpeedButton8", "FlatSpeedButton7", "FlatSpeedButton6", "FlatSpeedButton5"};
  int left = 2;
  for (int i = 0; i < 8; ++i) {
    int width = i < 4 ? 57 : 56;
    *buttons[i] = ToolButton(ToolBar2, names[i], left, width);
    left += width + 3;
  }
  SetToolBarForTab(kGifTab);
  SetHint(FlatSpeedButton9, QStringLiteral("Optimize all  gif images"));
  SetButton(FlatSpeedButton7, QStringLiteral("Email"), TGlyph::Email, kEmailHint);
  SetButton(FlatSpeedButton6, QStringLiteral("Homepage"), TGlyph::Homepage, kHomepageHint);
  SetButton(FlatSpeedButton5, QStringLiteral("Help"), TGlyph::Help, QStringLiteral("Help"));
}

// The pages lie under the tab row; the JPG page waits off to the right until it slides in.
void TForm1::CreateTabs(const std::filesystem::path& appDir) {
  const int pageTop = TFlatTabControl::kTabHeight;
  GifTab = new TGifTab(FlatTabControl1, FUi, FDialogs, *SB, appDir);
  GifTab->setGeometry(1, pageTop, 682, 300);
  JpgTab = new TJpgTab(FlatTabControl1, FUi, FDialogs, *SB, appDir);
  JpgTab->setGeometry(1000, pageTop, 682, 300);
}

void TForm1::BindHandlers() {
  BindHandler(ImageBorderTop, &TLabel::MouseDown, this, &TForm1::ImageBorderTopMouseDown);
  BindHandler(Label3, &TLabel::Click, this, &TForm1::Label3Click);
  BindHandler(Label4, &TLabel::Click, this, &TForm1::Label4Click);
  BindHandler(Label5, &TLabel::Click, this, &TForm1::Label5Click);
  BindHandler(Label6, &TLabel::Click, this, &TForm1::Label6Click);
  BindHandler(FlatSpeedButton1, &QToolButton::clicked, this, &TForm1::FlatSpeedButton1Click);
  BindHandler(FlatSpeedButton11, &QToolButton::clicked, this, &TForm1::FlatSpeedButton11Click);
  BindHandler(FlatSpeedButton9, &QToolButton::clicked, this, &TForm1::FlatSpeedButton9Click);
  BindHandler(FlatSpeedButton7, &QToolButton::clicked, this, &TForm1::FlatSpeedButton7Click);
  BindHandler(FlatSpeedButton6, &QToolButton::clicked, this, &TForm1::Label3Click);
  BindHandler(FlatSpeedButton5, &QToolButton::clicked, this, &TForm1::Contents1Click);
  BindHandler(FlatSpeedButton2, &QToolButton::clicked, this, &TForm1::FlatSpeedButton10Click);
  BindHandler(FlatSpeedButton8, &QToolButton::clicked, this, &TForm1::FlatSpeedButton8Click);
  BindHandler(FlatTabControl1, &TFlatTabControl::TabChanged, this, &TForm1::FlatTabControl1TabChanged);
  connect(GifTab, &TGifTab::WorkUnderWayChanged, this, &TForm1::LockForGifWork);
  connect(GifTab, &TGifTab::AbortEnabledChanged, FlatSpeedButton8, &QWidget::setEnabled);
  CreateShortcuts();
}

// The keys of today's desktop optimizers: each does what its button or menu item does,
// and nothing where that is disabled.
void TForm1::CreateShortcuts() {
  auto bind = [this](QKeySequence keys, void (TForm1::*handler)()) {
    BindHandler(new QShortcut(keys, this), &QShortcut::activated, this, handler);
  };
  bind(QKeySequence::Open, &TForm1::ShortcutOpen);
  bind(QKeySequence::SelectAll, &TForm1::ShortcutSelectAll);
  bind(QKeySequence(Qt::Key_F5), &TForm1::ShortcutTestAll);
  bind(QKeySequence(Qt::Key_Escape), &TForm1::FlatSpeedButton8Click);
}

void TForm1::ShortcutOpen() {
  if (FlatSpeedButton1->isEnabled()) FlatSpeedButton1Click();
}

void TForm1::ShortcutSelectAll() {
  if (ActiveTab() == kGifTab) GifTab->SelectAll();
}

void TForm1::ShortcutTestAll() {
  if (ActiveTab() == kGifTab && FlatSpeedButton2->isEnabled()) FlatSpeedButton10Click();
}

int TForm1::ActiveTab() const { return FlatTabControl1->ActiveTab(); }

bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QWidget::event(event);
}

void TForm1::ApplicationHint(const QString& hint) { ShowStatus(hint); }

void TForm1::ShowStatus(const QString& text) { SB->showMessage(text); }

void TForm1::ImageBorderTopMouseDown() {
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

void TForm1::Label3Click() {
  FUi.OpenUrl(QUrl(QString::fromLatin1(kMakerHomepage)));
  FUi.ProcessMessages();
}

// The title bar's help hot spot opens the help as the toolbar's button does.
void TForm1::Label4Click() { Contents1Click(); }

void TForm1::Label5Click() { showMinimized(); }

// Closing ends a run under way first, at its next look at the abort flag.
void TForm1::Label6Click() {
  GifTab->FlatSpeedButton8Click();
  QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
  GifTab->FlatSpeedButton8Click();
  QWidget::closeEvent(event);
}

void TForm1::Contents1Click() {
  FUi.OpenUrl(QUrl::fromLocalFile(QString::fromStdString(HelpFile(ProgramDirectory()).string())));
}

std::filesystem::path HelpFile(const std::filesystem::path& programDirectory) {
  std::filesystem::path compiled = programDirectory / "help.chm", page = programDirectory / "help.html";
  std::error_code error;
  return !std::filesystem::exists(compiled, error) && std::filesystem::exists(page, error) ? page : compiled;
}

void TForm1::FlatSpeedButton7Click() {
  FUi.OpenUrl(QUrl(QStringLiteral("mailto:") + kMakerEmail + QStringLiteral("?SUBJECT=Corvane")));
  FUi.ProcessMessages();
}

TOpenDialogSetup TForm1::OpenDialog() const {
  return ActiveTab() == kGifTab ? GifTab->OpenDialog() : JpgTab->OpenDialog();
}

void TForm1::SetToolBarForTab(int tab) {
  if (tab == kGifTab) {
    SetButton(FlatSpeedButton1, QStringLiteral("Add"), TGlyph::Add, QStringLiteral("Add some gif images to the list"));
    SetButton(FlatSpeedButton11, QStringLiteral("Remove"), TGlyph::Remove, QStringLiteral("Remove selected images"));
    SetButton(FlatSpeedButton2, QStringLiteral("Test All"), TGlyph::TestAll,
              QStringLiteral("Test all gif images, but  doesn't  modify any image "));
    SetButton(FlatSpeedButton9, QStringLiteral("Optimize"), TGlyph::Optimize, QStringLiteral("Optimize all  GIF images"));
    SetButton(FlatSpeedButton8, QStringLiteral("Abort"), TGlyph::Abort, QStringLiteral("Stop optimize"));
    FlatSpeedButton2->setEnabled(true);
  } else {
    SetButton(FlatSpeedButton1, QStringLiteral("Open"), TGlyph::Open,
              QStringLiteral("Open an image and convert it to JPG(JPEG) format for optimization."));
    SetButton(FlatSpeedButton11, QStringLiteral("Clear"), TGlyph::Clear, QStringLiteral("Close the current opened file."));
    SetButton(FlatSpeedButton9, QStringLiteral("Save"), TGlyph::Save, QStringLiteral("Save your worked JPG image"));
    SetHint(FlatSpeedButton2, QString());
    SetHint(FlatSpeedButton8, QString());
    FlatSpeedButton2->setEnabled(false);
    FlatSpeedButton8->setEnabled(false);
  }
}

// The JPG panel slides in from the right or out to the right in 100 steps of 10 pixels,
// each painted at once on a brief schedule. A step that falls behind it is not painted,
// so a slow display shortens the show rather than lengthening it.
void TForm1::SlideJpgPanel(int tab) {
  constexpr int kSteps = 100;
  constexpr std::chrono::microseconds kStepTime(1500);
  auto start = std::chrono::steady_clock::now();
  for (int step = 1; step <= kSteps; ++step) {
    JpgTab->move(tab == kGifTab ? 10 * step : 1001 - 10 * step, JpgTab->y());
    auto due = start + step * kStepTime;
    if (std::chrono::steady_clock::now() > due) continue;
    FlatTabControl1->repaint();
    std::this_thread::sleep_until(due);
  }
}

void TForm1::FlatTabControl1TabChanged() {
  int tab = ActiveTab();
  GifTab->setVisible(tab == kGifTab);
  SlideJpgPanel(tab);
  SetToolBarForTab(tab);
  if (tab == kJpgTab) JpgTab->TabShown();
}

void TForm1::FlatSpeedButton1Click() {
  if (ActiveTab() == kGifTab)
    GifTab->FlatSpeedButton1Click();
  else
    JpgTab->FlatSpeedButton1Click();
}

void TForm1::FlatSpeedButton11Click() {
  if (ActiveTab() == kGifTab)
    GifTab->FlatSpeedButton11Click();
  else
    JpgTab->FlatSpeedButton11Click();
}

void TForm1::FlatSpeedButton9Click() {
  if (ActiveTab() == kGifTab)
    GifTab->FlatSpeedButton9Click();
  else
    JpgTab->FlatSpeedButton9Click();
}

void TForm1::FlatSpeedButton10Click() {
  if (ActiveTab() == kGifTab) GifTab->FlatSpeedButton10Click();
}

void TForm1::FlatSpeedButton8Click() { GifTab->FlatSpeedButton8Click(); }

void TForm1::LockForGifWork(bool locked) {
  for (QToolButton* button : {FlatSpeedButton1, FlatSpeedButton11, FlatSpeedButton2, FlatSpeedButton9})
    button->setEnabled(!locked);
  // The other tab would take the toolbar, the Abort button with it.
  FlatTabControl1->TabBar()->setEnabled(!locked);
}

}  // namespace corvane
