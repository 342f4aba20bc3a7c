#include "gui/app/MainDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "gui/app/NestedScreens.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "gui/chrome/OffUiThread.h"
#include "operator/GivenFileOperator.h"
#include "project/HomeScreen.h"
#include "project/ProductionExport.h"
#include "project/ProjectFiles.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 310;
constexpr int kBannerUnits = 37;
constexpr int kColumnUnits = 170;
constexpr int kListUnits = 260;
constexpr int kDayTickMs = 100;

QStringList Texts(const std::vector<std::string>& entries) {
  QStringList texts;
  for (const std::string& entry : entries) texts << QString::fromStdString(entry);
  return texts;
}

// Runs the save or open flow's progress dialogs through the seam, on the
// UI thread whichever thread the flow runs on.
class SeamProgressDialog final : public PackageProgressDialog {
 public:
  SeamProgressDialog(NestedScreens& screens, QWidget* parent) : screens_(screens), parent_(parent) {}
  int Run(const std::string& text, const ProgressWork& work) override {
    return OnUiThread([&] { return screens_.PackageProgress(parent_, text, work); });
  }

 private:
  NestedScreens& screens_;
  QWidget* parent_;
};

}  // namespace

CMainDlg::CMainDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      context_(context),
      screens_(screens) {
  setObjectName(QStringLiteral("CMainDlg"));
  // The home screen has no caption of its own.
  setWindowTitle(QString());
  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddPicture("picture", Picture::Home, QPoint(Units().X(10), Units().Y(45)));
  AddLabel("heading", QStringLiteral("Home Screen"), ChromeFont(27, Weight::Bold), kBannerColor,
           QRect(kColumnUnits, 44, 270, 26));
  QLabel* description = AddLabel("description",
           QStringLiteral("Configure your security settings, channel configuration, as well as "
                          "open and save encrypted media packages."),
           ChromeFont(12, Weight::Regular), kBlackText, QRect(kColumnUnits, 72, 270, 34),
           Qt::AlignLeft | Qt::AlignTop);
  description->setWordWrap(true);

  const QFont listFont = ChromeFont(12, Weight::Regular);
  const auto addList = [&](const char* name, const char* label, int top, QComboBox* list) {
    list->setFont(listFont);
    AddLabelled(name, label, 12, QRect(kListUnits, top, 120, 12), list,
                QRect(kListUnits, top + 13, 150, 16));
  };
  device_ = new QComboBox(this);
  device_->addItems(Texts(DeviceEntries()));
  addList("device", "Device", 114, device_);
  configure_ = new ActionList(this);
  addList("configure", "Configure", 148, configure_);
  file_ = new ActionList(this);
  addList("file", "File", 182, file_);
  BuildSummary();
  workCaption_ = AddLabel("workCaption", QString(), ChromeFont(10, Weight::Bold), kBannerColor,
                          QRect(kListUnits, 218, 150, 11));
  workBar_ = new QProgressBar(this);
  workBar_->setObjectName(QStringLiteral("workProgress"));
  workBar_->setAccessibleName(QStringLiteral("Production progress"));
  workBar_->setTextVisible(false);
  workBar_->setGeometry(Units().Rect(kListUnits, 230, 150, 8));
  workCaption_->hide();
  workBar_->hide();
  // Beside the specified lists, not in them: how the preview is heard.
  telephone_ = new QCheckBox(QStringLiteral("Preview as callers hear it"), this);
  telephone_->setToolTip(
      QStringLiteral("Through a telephone line: 8 kHz, the 300-3400 Hz band, mu-law"));
  telephone_->setObjectName(QStringLiteral("telephonePreview"));
  telephone_->setFont(ChromeFont(10, Weight::Regular));
  telephone_->setGeometry(Units().Rect(kListUnits, 244, 160, 12));
  AddLogo();
  help_ = AddHelpButton();
  setTabOrder(device_, configure_);
  setTabOrder(configure_, file_);
  setTabOrder(file_, telephone_);
  setTabOrder(telephone_, help_);
  device_->setFocus();

  connect(device_, &QComboBox::activated, this, &CMainDlg::OnDevice);
  connect(configure_, &ActionList::ActionChosen, this, &CMainDlg::OnConfigure);
  connect(file_, &ActionList::ActionChosen, this, &CMainDlg::OnFileAction);
  connect(help_, &QAbstractButton::clicked, this, [this] { screens_.HelpBox(this); });

  StartHomeScreen(context_);
  device_->setCurrentIndex(context_.home.CurrentModel - 1);
  ShowModel();
  RefreshStatus();
  dayTimer_.setInterval(kDayTickMs);
  dayTimer_.setSingleShot(true);
  connect(&dayTimer_, &QTimer::timeout, this, &CMainDlg::DayTick);
  dayTimer_.start();
}

void CMainDlg::BuildSummary() {
  const char* const names[] = {"providerKey", "deviceId",  "description", "mediaSecurity",
                               "channel1",    "channel2", "fileStatus"};
  const char* const labels[] = {"Provider Key:", "Device ID:", "Description:", "Media Security:",
                                "Channel 1:",    "Channel 2:", "File Status:"};
  for (std::size_t i = 0; i < summary_.size(); ++i) {
    const int top = 150 + static_cast<int>(i) * 12;
    QLabel* label = AddLabel((std::string(names[i]) + "Label").c_str(), QString::fromLatin1(labels[i]),
                             ChromeFont(12, Weight::Bold), kBannerColor, QRect(10, top, 82, 12));
    QLabel* value = AddLabel((std::string(names[i]) + "Value").c_str(), QString(),
                             ChromeFont(12, Weight::Regular), kBlackText, QRect(94, top, 150, 12));
    label->setBuddy(value);
    summary_[i] = {label, value};
  }
}

void CMainDlg::ShowModel() {
  const std::int32_t model = context_.home.CurrentModel;
  configure_->SetActions(Texts(ConfigureEntries(model, context_.session.Security.MohMode)));
  const std::vector<std::string> fileEntries = FileEntries(model);
  file_->SetActions(Texts(fileEntries));
  telephone_->setVisible(std::find(fileEntries.begin(), fileEntries.end(), kPreviewEntry) !=
                         fileEntries.end());
  const HomeSummary summary = SummaryOf(context_.session, context_.home);
  summary_[4].first->setText(QString::fromStdString(summary.channel1Label));
  for (std::size_t i = 0; i < 4; ++i) {
    summary_[i].first->setVisible(summary.showSecurity);
    summary_[i].second->setVisible(summary.showSecurity);
  }
  summary_[5].first->setVisible(summary.showChannel2);
  summary_[5].second->setVisible(summary.showChannel2);
}

void CMainDlg::RefreshStatus() {
  const HomeSummary s = SummaryOf(context_.session, context_.home);
  const std::string* values[] = {&s.providerKey,   &s.deviceId, &s.description, &s.mediaSecurity,
                                 &s.channel1,      &s.channel2, &s.fileStatus};
  for (std::size_t i = 0; i < summary_.size(); ++i) {
    summary_[i].second->setText(QString::fromStdString(*values[i]));
    summary_[i].second->setAccessibleName(summary_[i].first->text() + QLatin1Char(' ') +
                                          summary_[i].second->text());
  }
  RepaintSoon();
}

void CMainDlg::DayTick() {
  dayTimer_.stop();
  CheckDayChange(context_);
  dayTimer_.start();
}

QAbstractButton* CMainDlg::ButtonForEnter(QWidget* focus) const {
  return focus == help_ ? help_ : nullptr;
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
  // Enter on a list acts on its entry as if its drop-down had closed.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && focusWidget() == device_) {
    event->accept();
    OnDevice();
    return;
  }
  if (enter && (focusWidget() == file_ || focusWidget() == configure_)) {
    event->accept();
    static_cast<ActionList*>(focusWidget())->ActOnSelection();
    return;
  }
  ChromeDialog::keyPressEvent(event);
}

void CMainDlg::OnDevice() {
  if (!PickDevice(context_, device_->currentText().toStdString())) {
    device_->setCurrentIndex(context_.home.CurrentModel - 1);
    return;
  }
  ShowModel();
  RefreshStatus();
}

void CMainDlg::OnConfigure(const QString& entry) {
  hide();
  const ConfigureScreens screens{
      [this] { return screens_.MediaSecurity(this, context_); },
      [this](bool holdsEntries) { screens_.SamplingRates(this, context_, holdsEntries); },
      [this](int channel) { return screens_.ChannelEditor(this, context_, channel); },
  };
  RunConfigureEntry(context_, entry.toStdString(), screens);
  show();
  ShowModel();
  RefreshStatus();
}

void CMainDlg::OnFileAction(const QString& action) {
  const std::string entry = action.toStdString();
  if (entry == kOpenEntry) {
    OpenPackage(context_);
  } else if (entry == kSaveEntry) {
    context_.player.Stop();
    RunFileFlow([this](PackageProgressDialog& progress) { RunSaveFlow(context_, progress); });
  } else if (entry == kCreateProductionEntry) {
    RunProduction([](ProjectContext& context) { CreateAudioProduction(context); });
  } else if (entry == kPreviewEntry) {
    const bool telephone = telephone_->isChecked();
    RunProduction(
        [telephone](ProjectContext& context) { PreviewAudioProduction(context, telephone); });
  } else if (entry == kStopPreviewEntry) {
    StopAudioProduction(context_);
  } else if (entry == kExitEntry) {
    // The preview stops before the question, whatever the answer.
    context_.player.Stop();
    AskToExit();
  }
  RefreshStatus();
}

void CMainDlg::OpenPackage(ProjectContext& context) {
  context.player.Stop();
  bool opened = false;
  RunFileFlow([&](PackageProgressDialog& progress) { opened = RunOpenFlow(context, progress); });
  if (opened) {
    // A package for a model the list does not offer leaves it without a pick.
    const int model = context.home.CurrentModel;
    device_->setCurrentIndex(model >= 1 && model <= device_->count() ? model - 1 : -1);
  }
  ShowModel();
}

void CMainDlg::OpenWhenShown(const std::filesystem::path& package) {
  QTimer::singleShot(0, this, [this, package] {
    GivenFileOperator chosen(context_.op, package);
    ProjectContext opening{context_.session, context_.home,   chosen,
                           context_.clock,   context_.converter, context_.player,
                           context_.progress, context_.trace};
    OpenPackage(opening);
    RefreshStatus();
  });
}

void CMainDlg::WhileListsWait(const std::function<void()>& work) {
  const std::initializer_list<QWidget*> choices = {device_, configure_, file_, help_};
  for (QWidget* choice : choices) choice->setEnabled(false);
  // The work changes the session the day check reads.
  dayTimer_.stop();
  RunOffUiThread(work);
  dayTimer_.start();
  for (QWidget* choice : choices) choice->setEnabled(true);
}

void CMainDlg::RunFileFlow(const std::function<void(PackageProgressDialog&)>& flow) {
  SeamProgressDialog progress(screens_, this);
  WhileListsWait([&] { flow(progress); });
}

void CMainDlg::RunProduction(const std::function<void(ProjectContext&)>& work) {
  BarProgress shown(*workBar_, workCaption_);
  QObject relay;
  HandedOverProgress handedOver(relay, shown);
  ProjectContext working{context_.session, context_.home,  context_.op,   context_.clock,
                         context_.converter, context_.player, handedOver, context_.trace};
  workBar_->setValue(0);
  workCaption_->show();
  workBar_->show();
  WhileListsWait([&] { work(working); });
  workCaption_->hide();
  workBar_->hide();
}

// Closing the window asks the same question but leaves the player alone.
void CMainDlg::CloseRequested() {
  if (file_->isEnabled()) AskToExit();
}

void CMainDlg::AskToExit() {
  if (context_.op.Ask("Exit Corvane", "Are you sure you want to exit?", OperatorButtons::YesNo,
                      OperatorIcon::Information) == OperatorAnswer::Yes) {
    dayTimer_.stop();
    done(kConfirmed);
  }
}

}  // namespace corvane
