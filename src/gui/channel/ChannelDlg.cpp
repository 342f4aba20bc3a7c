#include "gui/channel/ChannelDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <filesystem>
#include <vector>

#include "gui/app/NestedScreens.h"
#include "gui/channel/MediaListBox.h"
#include "gui/channel/SettingSpin.h"
#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 560;
constexpr int kHeightUnits = 430;
constexpr int kShortestUnits = 370;
constexpr int kBannerUnits = 37;
constexpr int kTickMs = 100;
constexpr int kLeft = 10;    // the lists' column
constexpr int kRight = 290;  // the settings' column
constexpr int kSpinX = 500;

constexpr const char* kMusicTitle = "Music";
constexpr const char* kMusicDisabledTitle = "Music - Disabled via External Music Input";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The spins of the settings column, top to bottom.
struct SpinRow {
  const char* name;
  const char* label;
  int minimum;
  int maximum;
  SpinText text;
  int ChannelSettingsValues::*field;
  int top;
  int left = kSpinX;
};
const SpinRow kSpinRows[] = {
    {"masterVolume", "Master Output Volume (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::masterVolume, 60},
    {"crossFadeVolume", "Music Cross-Fade Volume (%)", 0, 10, SpinText::TimesTen,
     &ChannelSettingsValues::crossFadeVolume, 74},
    {"bass", "Bass", -5, 5, SpinText::Signed, &ChannelSettingsValues::bass, 88},
    {"treble", "Treble", -5, 5, SpinText::Signed, &ChannelSettingsValues::treble, 102},
    {"musicVolume", "Music Input Level (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::musicVolume, 128},
    {"messageVolume", "Message Input Level (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::messageVolume, 142},
    {"messageMinutes", "Time Between Messages (MM:SS)", 0, 99, SpinText::TwoDigits,
     &ChannelSettingsValues::messageMinutes, 158, kSpinX - 36},
    {"messageSeconds", nullptr, 0, 59, SpinText::TwoDigits,
     &ChannelSettingsValues::messageSeconds, 158},
    {"repeatMinutes", "Time Between Repeats (MM:SS)", 0, 99, SpinText::TwoDigits,
     &ChannelSettingsValues::repeatMinutes, 172, kSpinX - 36},
    {"repeatSeconds", nullptr, 0, 59, SpinText::TwoDigits,
     &ChannelSettingsValues::repeatSeconds, 172},
};

struct BoxRow {
  const char* name;
  const char* text;
  bool ChannelSettingsValues::*field;
  int top;
};
const BoxRow kBoxRows[] = {
    {"localVolume", "Enable Local Volume Control", &ChannelSettingsValues::localVolumeEnabled, 186},
    {"externalMusic", "Enable External Music", &ChannelSettingsValues::externalAudioEnabled, 196},
    {"autoAddDefaultMusic", "Auto-Add Default Music", &ChannelSettingsValues::autoAddDefaultMusic,
     206},
    {"endMusicAfterLastMessage", "End Music After Last Message",
     &ChannelSettingsValues::limitLengthEnabled, 216},
};

// The lists' column: title, list, the labels under it.
struct ListRow {
  MediaListKind kind;
  const char* name;
  const char* title;
  QRect list;  // in dialog units
};
const ListRow kListRows[] = {
    {MediaListKind::Music, "music", kMusicTitle, QRect(kLeft, 74, 265, 104)},
    {MediaListKind::Messages, "messages", "Messages", QRect(kLeft, 222, 265, 104)},
    {MediaListKind::Scheduled, "scheduled", "Scheduled Messages", QRect(kRight, 276, 112, 88)},
};

const char* const kDayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",
                                   "May",     "June",     "July",      "August",
                                   "September", "October", "November", "December"};

}  // namespace

// Shows what the conversion reports, on the UI thread.
class CChannelDlg::AddingProgress final : public Progress {
 public:
  explicit AddingProgress(CChannelDlg& screen) : screen_(screen) {}
  void SetCaption(std::string_view caption) override {
    caption_ = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    Show();
  }
  void SetRange(int low, int high) override { screen_.addingBar_->setRange(low, high); }
  void SetPosition(int position) override { screen_.addingBar_->setValue(position); }
  void File(std::size_t number, std::size_t count, const std::filesystem::path& file) {
    file_ = QString::fromStdString(file.filename().string());
    batch_ = count > 1 ? QStringLiteral(" (file %1 of %2)").arg(number).arg(count) : QString();
    screen_.addingBar_->setRange(0, 100);
    screen_.addingBar_->setValue(0);
    Show();
  }

 private:
  void Show() {
    screen_.addingText_->setText(
        (caption_.isEmpty() ? QString::fromLatin1(kAddingFileCaption.data()) : caption_) +
        QLatin1Char(' ') + file_ + batch_);
  }
  CChannelDlg& screen_;
  QString caption_;
  QString file_;
  QString batch_;
};

CChannelDlg::CChannelDlg(ProjectContext& context, NestedScreens& screens,
                         int editedChannelNumber, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      context_(context),
      screens_(screens),
      background_(context.converter),
      addingProgress_(std::make_unique<AddingProgress>(*this)),
      editorContext_{context.session, context.home,   context.op,       context.clock,
                     background_,     context.player, *addingProgress_, context.trace},
      editor_(editorContext_, editedChannelNumber),
      sections_(SectionsFor(context.session.Audio, context.session.Security.MohMode)) {
  setObjectName(QStringLiteral("CChannelDlg"));
  setWindowTitle(QString::fromLatin1(kProductName));
  editor_.Open();
  BuildBanner();
  BuildLists();
  BuildSettings();
  BuildSchedule();
  BuildButtons();
  AddLogo();
  help_ = AddHelpButton();
  ApplySections();
  ShowSettings();
  UpdateMusicSection();
  ShowSchedule();
  AllowShorter(kShortestUnits);
  editor_.OnAddingFile([this](std::size_t n, std::size_t count, const std::filesystem::path& f) {
    addingProgress_->File(n, count, f);
  });
  connect(help_, &QAbstractButton::clicked, this, [this] { screens_.HelpBox(this); });
  tick_.setInterval(kTickMs);
  tick_.setSingleShot(true);
  connect(&tick_, &QTimer::timeout, this, &CChannelDlg::Tick);
  Tick();
}

CChannelDlg::~CChannelDlg() = default;

COLEDragAndDropListBox* CChannelDlg::ListBox(MediaListKind kind) const {
  return lists_[static_cast<std::size_t>(kind)];
}

void CChannelDlg::BuildBanner() {
  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  const int number = editor_.ChannelNumber();
  QLabel* channel = AddLabel("channelNumber", number == 1 || number == 2 ? QStringLiteral("Ch.%1").arg(number) : QString(),
                             ChromeFont(20, Weight::Bold), kOnColorText, QRect(170, 10, 60, 18));
  channel->setVisible(number == 1 || number == 2);
  const SecuritySettings& security = context_.session.Security;
  const std::pair<const char*, std::string> lines[] = {
      {"Provider Key:", security.ProviderKey},
      {"Device ID:", security.DeviceId},
      {"Description:", security.DeviceDescription},
  };
  int top = 4;
  for (const auto& [label, value] : lines) {
    QLabel* line = AddLabel("securityLine", Text(label + (" " + value)), ChromeFont(12, Weight::Bold),
                            kOnColorText, QRect(300, top, 250, 10), Qt::AlignRight | Qt::AlignVCenter);
    line->setVisible(sections_.securityLines);
    top += 10;
  }
  AddLabel("musicAndMessages", QStringLiteral("Music and Messages"), ChromeFont(20, Weight::Bold),
           kStripColor, QRect(kLeft, 40, 260, 19));
  AddLabel("settings", QStringLiteral("Settings"), ChromeFont(20, Weight::Bold), kStripColor,
           QRect(kRight, 40, 200, 19));
}

void CChannelDlg::BuildLists() {
  for (const ListRow& row : kListRows) {
    const auto index = static_cast<std::size_t>(row.kind);
    ListLabels& labels = listLabels_[index];
    const QRect& r = row.list;
    labels.title = AddLabel((std::string(row.name) + "Title").c_str(), QString::fromLatin1(row.title),
                            ChromeFont(12, Weight::Bold), kBannerColor, QRect(r.x(), r.y() - 12, r.width(), 11));
    auto* list = new COLEDragAndDropListBox(editor_.List(row.kind), this);
    list->setObjectName(QString::fromLatin1(row.name));
    list->setAccessibleName(QString::fromLatin1(row.title));
    list->setGeometry(Units().Rect(r.x(), r.y(), r.width(), r.height()));
    labels.title->setBuddy(list);
    lists_[index] = list;
    const QFont font = ChromeFont(10, Weight::Bold);
    const int under = r.y() + r.height() + 2;
    if (row.kind != MediaListKind::Scheduled) {
      labels.duration = AddLabel((std::string(row.name) + "Duration").c_str(), QString(), font,
                                 kBannerColor, QRect(r.x(), under, 150, 10));
    }
    labels.files = AddLabel((std::string(row.name) + "Files").c_str(), QString(), font,
                            kBannerColor, QRect(r.x() + r.width() - 60, under, 60, 10),
                            Qt::AlignRight | Qt::AlignVCenter);
    ConnectList(row.kind);
  }
  ListBox(MediaListKind::Music)->SetPartner(ListBox(MediaListKind::Messages));

  const QFont shuffleFont = ChromeFont(9, Weight::Regular);
  musicShuffle_ = new QCheckBox(QStringLiteral("Enable Music Shuffle"), this);
  musicShuffle_->setObjectName(QStringLiteral("musicShuffle"));
  musicShuffle_->setGeometry(Units().Rect(kLeft, 192, 120, 11));
  messageShuffle_ = new QCheckBox(QStringLiteral("Enable Message Shuffle"), this);
  messageShuffle_->setObjectName(QStringLiteral("messageShuffle"));
  messageShuffle_->setGeometry(Units().Rect(kLeft, 340, 110, 11));
  for (QCheckBox* box : {musicShuffle_, messageShuffle_}) {
    box->setFont(shuffleFont);
    connect(box, &QCheckBox::toggled, this, &CChannelDlg::ReadSettings);
  }
  totalMessagePlay_ = AddLabel("totalMessagePlay", QString(), ChromeFont(10, Weight::Bold),
                               kBannerColor, QRect(125, 340, 150, 11));
  addDefaultMusic_ = AddButton("addDefaultMusic", QStringLiteral("Add Default Music"),
                               QRect(185, 191, 90, 13));
  UseActionScheme(*addDefaultMusic_, 10);
  connect(addDefaultMusic_, &QAbstractButton::clicked, this,
          [this] { WhileAdding([this] { editor_.AddDefaultMusic(); }); });
}

void CChannelDlg::ConnectList(MediaListKind kind) {
  COLEDragAndDropListBox* list = ListBox(kind);
  connect(list, &COLEDragAndDropListBox::AddFilesRequested, this,
          [this, kind] { WhileAdding([this, kind] { editor_.AddFilesFromDialog(kind); }); });
  connect(list, &COLEDragAndDropListBox::FilesDropped, this, [this, kind](const QStringList& paths) {
    std::vector<std::filesystem::path> files;
    for (const QString& path : paths) files.emplace_back(path.toStdString());
    WhileAdding([this, kind, files] { editor_.AddFiles(kind, files); });
  });
  connect(list, &COLEDragAndDropListBox::DeleteRequested, this, [this, kind](bool fromMenu) {
    editor_.DeleteSelected(kind, fromMenu);
    RefreshLists();
  });
  connect(list, &COLEDragAndDropListBox::PlayRequested, this,
          [this, kind](int row) { editor_.PlayRow(kind, static_cast<std::size_t>(row)); });
  connect(list, &COLEDragAndDropListBox::StopRequested, this, [this] { editor_.StopPlaying(); });
  connect(list, &COLEDragAndDropListBox::RecordRequested, this, [this, kind] {
    const auto recording = screens_.RecordAudioFile(this, context_.op);
    if (!recording) return;
    const std::vector<std::filesystem::path> files = {*recording};
    WhileAdding([this, kind, files] { editor_.AddFiles(kind, files); });
  });
  connect(list, &COLEDragAndDropListBox::DayCommandRequested, this,
          [this](DayCommand command) { editor_.ApplyDayCommand(command); });
}

void CChannelDlg::BuildSettings() {
  const QFont font = ChromeFont(10, Weight::Bold);
  AddLabel("audioBalance", QStringLiteral("Audio Balance"), ChromeFont(12, Weight::Bold),
           kBannerColor, QRect(kRight, 116, 200, 11));
  for (const SpinRow& row : kSpinRows) {
    auto* spin = new SettingSpin(row.text, row.minimum, row.maximum, this);
    spin->setObjectName(QString::fromLatin1(row.name));
    spin->setFont(font);
    spin->setGeometry(Units().Rect(row.left, row.top, 34, 12));
    if (row.label != nullptr) {
      QLabel* label = AddLabel((std::string(row.name) + "Label").c_str(), QString::fromLatin1(row.label),
                               font, kBannerColor, QRect(kRight, row.top, 170, 12));
      label->setBuddy(spin);
      spin->setAccessibleName(QString::fromLatin1(row.label));
    } else {
      spins_.back().first->setAccessibleName(spins_.back().first->accessibleName() + " minutes");
      spin->setAccessibleName(spins_.back().first->accessibleName().replace(" minutes", " seconds"));
      AddLabel((std::string(row.name) + "Colon").c_str(), QStringLiteral(":"),
               ChromeFont(12, Weight::Bold), kBannerColor, QRect(row.left - 3, row.top, 3, 12));
    }
    connect(spin, &QSpinBox::valueChanged, this, &CChannelDlg::ReadSettings);
    spins_.emplace_back(spin, row.field);
  }
  // The spacing of messages may not outgrow the device.
  auto* minutes = findChild<SettingSpin*>(QStringLiteral("messageMinutes"));
  auto* seconds = findChild<SettingSpin*>(QStringLiteral("messageSeconds"));
  minutes->SetGuard([this, seconds](int m) { return editor_.MaySpaceMessages(m, seconds->value()); });
  seconds->SetGuard([this, minutes](int s) { return editor_.MaySpaceMessages(minutes->value(), s); });

  for (const BoxRow& row : kBoxRows) {
    auto* box = new QCheckBox(QString::fromLatin1(row.text), this);
    box->setObjectName(QString::fromLatin1(row.name));
    box->setFont(font);
    box->setGeometry(Units().Rect(kRight, row.top, 200, 11));
    boxes_.emplace_back(box, row.field);
    if (row.field == &ChannelSettingsValues::externalAudioEnabled) {
      externalMusic_ = box;
      connect(box, &QAbstractButton::clicked, this, &CChannelDlg::OnExternalMusic);
    } else {
      connect(box, &QCheckBox::toggled, this, &CChannelDlg::ReadSettings);
    }
  }
  AddLabel("timeRemainingLabel", QStringLiteral("Time Remaining (HH:MM)"),
           ChromeFont(12, Weight::Bold), kBannerColor, QRect(kRight, 244, 150, 12));
  remainingText_ = AddLabel("timeRemaining", QString(), font, kBlackText,
                            QRect(kRight + 150, 245, 60, 11));
  remainingBar_ = new QProgressBar(this);
  remainingBar_->setObjectName(QStringLiteral("timeRemainingBar"));
  remainingBar_->setAccessibleName(QStringLiteral("Time Remaining (HH:MM)"));
  remainingBar_->setTextVisible(false);
  remainingBar_->setRange(0, static_cast<int>(RemainingBarRange(editor_.Audio().MaxLength)));
  remainingBar_->setGeometry(Units().Rect(kRight, 257, 260, 6));
}

void CChannelDlg::BuildSchedule() {
  const int left = kRight + 118;
  for (int day = 0; day < 7; ++day) {
    const int x = left + day * 19;
    QLabel* name = AddLabel("dayName", QString::fromLatin1(kDayNames[day]), ChromeFont(8, Weight::Regular),
                            kBannerColor, QRect(x, 276, 18, 8), Qt::AlignCenter);
    auto* box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("day%1").arg(day));
    box->setAccessibleName(QString::fromLatin1(kDayNames[day]));
    box->setGeometry(Units().Rect(x + 5, 285, 12, 10));
    name->setBuddy(box);
    days_[static_cast<std::size_t>(day)] = box;
    scheduleControls_.insert(scheduleControls_.end(), {name, box});
  }
  const QFont font = ChromeFont(10, Weight::Bold);
  QLabel* time = AddLabel("startTimeLabel", QStringLiteral("Start Time (HH:MM)"), font,
                          kBannerColor, QRect(left, 302, 80, 12));
  startHours_ = new SettingSpin(SpinText::TwoDigits, 0, 23, this);
  startHours_->setObjectName(QStringLiteral("startHours"));
  startHours_->setAccessibleName(QStringLiteral("Start Time (HH:MM) hours"));
  startHours_->setGeometry(Units().Rect(left + 82, 302, 24, 12));
  startMinutes_ = new SettingSpin(SpinText::TwoDigits, 0, 59, this);
  startMinutes_->setObjectName(QStringLiteral("startMinutes"));
  startMinutes_->setAccessibleName(QStringLiteral("Start Time (HH:MM) minutes"));
  startMinutes_->setGeometry(Units().Rect(left + 110, 302, 24, 12));
  time->setBuddy(startHours_);
  scheduleControls_.insert(scheduleControls_.end(), {time, startHours_, startMinutes_});

  const char* const names[] = {"startMonth", "startDay", "stopMonth", "stopDay"};
  const char* const labels[] = {"Start Date", "Stop Date"};
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    const int top = i < 2 ? 320 : 338;
    if (i % 2 == 0) {
      QLabel* label = AddLabel(i < 2 ? "startDateLabel" : "stopDateLabel",
                               QString::fromLatin1(labels[i / 2]), font, kBannerColor,
                               QRect(left, top, 45, 12));
      scheduleControls_.push_back(label);
    }
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(names[i]));
    combo->setFont(font);
    combo->setAccessibleName(QString::fromLatin1(labels[i / 2]) +
                             (i % 2 == 0 ? QStringLiteral(" month") : QStringLiteral(" day")));
    combo->setGeometry(i % 2 == 0 ? Units().Rect(left + 46, top, 64, 13) : Units().Rect(left + 112, top, 28, 13));
    if (i % 2 == 0) {
      for (const char* month : kMonthNames) combo->addItem(QString::fromLatin1(month));
    }
    dates_[i] = combo;
    scheduleControls_.push_back(combo);
  }
  ScheduleControls& schedule = editor_.Schedule();
  const std::array<std::function<void(int)>, 4> picks = {
      [this, &schedule](int v) { schedule.PickStartMonth(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStartDay(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStopMonth(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStopDay(v, context_.op); },
  };
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    connect(dates_[i], &QComboBox::activated, this, [this, pick = picks[i]](int index) {
      ReadSchedule();
      pick(index);
      ShowSchedule();
    });
  }
}

void CChannelDlg::BuildButtons() {
  struct ButtonRow {
    const char* name;
    const char* text;
    QRect units;
    int points;
    CColorButton* CChannelDlg::*member;
    void (CChannelDlg::*action)();
  };
  const ButtonRow rows[] = {
      {"loadDefaults", "Load Defaults", QRect(kRight, 229, 80, 13), 10, &CChannelDlg::loadDefaults_,
       &CChannelDlg::OnLoadDefaults},
      {"saveSettings", "Save Settings", QRect(kRight + 90, 229, 80, 13), 10,
       &CChannelDlg::saveSettings_, &CChannelDlg::OnSaveSettings},
      {"cancel", "Cancel", QRect(kLeft, 368, 70, 20), 14, &CChannelDlg::cancel_, &CChannelDlg::OnCancel},
      {"save", "Save", QRect(kWidthUnits - 80, 368, 70, 20), 14, &CChannelDlg::save_, &CChannelDlg::OnSave},
  };
  for (const ButtonRow& row : rows) {
    CColorButton* button = AddButton(row.name, QString::fromLatin1(row.text), row.units);
    UseActionScheme(*button, row.points);
    this->*row.member = button;
    connect(button, &QAbstractButton::clicked, this, row.action);
  }
  status_ = AddLabel("status", QString(), ChromeFont(10, Weight::Bold), kBlackText,
                     QRect(90, 372, kWidthUnits - 180, 12), Qt::AlignCenter);
  // Covers the screen while a file is added, with its progress on top.
  addingCover_ = new QWidget(this);
  addingCover_->setObjectName(QStringLiteral("addingCover"));
  addingCover_->setGeometry(rect());
  addingCover_->hide();
  addingText_ = AddLabel("addingFile", QString(), ChromeFont(10, Weight::Bold), kBlackText,
                         QRect(90, 364, kWidthUnits - 180, 10), Qt::AlignCenter);
  addingBar_ = new QProgressBar(this);
  addingBar_->setObjectName(QStringLiteral("addingProgress"));
  addingBar_->setAccessibleName(QStringLiteral("Adding File ..."));
  addingBar_->setGeometry(Units().Rect(90, 376, kWidthUnits - 180, 10));
  addingText_->hide();
  addingBar_->hide();
}

void CChannelDlg::ApplySections() {
  const ChannelEditorSections& s = sections_;
  musicShuffle_->setEnabled(s.shuffle);
  messageShuffle_->setEnabled(s.shuffle);
  for (const char* name : {"repeatMinutes", "repeatSeconds", "repeatMinutesLabel", "repeatSecondsColon"}) {
    findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(s.repeatInterval);
  }
  for (const char* name : {"messages", "messagesTitle", "messagesDuration", "messagesFiles",
                           "crossFadeVolume", "crossFadeVolumeLabel", "musicVolume",
                           "musicVolumeLabel", "messageVolume", "messageVolumeLabel",
                           "audioBalance"}) {
    findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(s.messages);
  }
  for (const char* name : {"bass", "bassLabel", "treble", "trebleLabel", "externalMusic"}) {
    findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(s.toneControls);
  }
  findChild<QWidget*>(QStringLiteral("endMusicAfterLastMessage"))
      ->setEnabled(s.endMusicAfterLastMessage);
  for (QWidget* control : scheduleControls_) control->setEnabled(s.scheduledMessages);
  for (QWidget* w : {static_cast<QWidget*>(ListBox(MediaListKind::Scheduled)),
                     static_cast<QWidget*>(listLabels_[2].title), static_cast<QWidget*>(listLabels_[2].files)}) {
    w->setEnabled(s.scheduledMessages);
  }
  for (const char* name : {"masterVolume", "masterVolumeLabel", "localVolume"}) {
    findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(s.playerControls);
  }
  totalMessagePlay_->setVisible(s.totalMessagePlayDuration);
}

void CChannelDlg::ShowSettings() {
  const ChannelControls& controls = editor_.Controls();
  for (auto& [spin, field] : spins_) spin->Show(controls.settings.*field);
  for (auto& [box, field] : boxes_) {
    const QSignalBlocker quiet(box);
    box->setChecked(controls.settings.*field);
  }
  const QSignalBlocker quietMusic(musicShuffle_);
  const QSignalBlocker quietMessages(messageShuffle_);
  musicShuffle_->setChecked(controls.musicShuffle);
  messageShuffle_->setChecked(controls.messageShuffle);
}

void CChannelDlg::ReadSettings() {
  ChannelControls& controls = editor_.Controls();
  for (auto& [spin, field] : spins_) controls.settings.*field = spin->value();
  for (auto& [box, field] : boxes_) controls.settings.*field = box->isChecked();
  controls.musicShuffle = musicShuffle_->isChecked();
  controls.messageShuffle = messageShuffle_->isChecked();
}

void CChannelDlg::ReadSchedule() {
  ScheduleControlValues& values = editor_.Schedule().Edit();
  values.hours = startHours_->value();
  values.minutes = startMinutes_->value();
  values.days = 0;
  for (std::size_t i = 0; i < days_.size(); ++i) {
    if (days_[i]->isChecked()) values.days = static_cast<std::uint8_t>(values.days | (1u << i));
  }
}

void CChannelDlg::ShowSchedule() {
  const ScheduleControls& schedule = editor_.Schedule();
  const ScheduleControlValues& values = schedule.Values();
  startHours_->Show(values.hours);
  startMinutes_->Show(values.minutes);
  for (std::size_t i = 0; i < days_.size(); ++i) days_[i]->setChecked((values.days >> i) & 1u);
  const int shown[] = {values.startMonth, values.startDay, values.stopMonth, values.stopDay};
  const int dayCounts[] = {schedule.StartDayCount(), schedule.StopDayCount()};
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    QComboBox* combo = dates_[i];
    const QSignalBlocker quiet(combo);
    if (i % 2 == 1 && combo->count() != dayCounts[i / 2]) {
      combo->clear();
      for (int day = 1; day <= dayCounts[i / 2]; ++day) combo->addItem(QString::number(day));
    }
    combo->setCurrentIndex(shown[i]);
  }
  const bool enabled = sections_.scheduledMessages && schedule.Enabled();
  for (QWidget* control : scheduleControls_) control->setEnabled(enabled);
}

void CChannelDlg::UpdateMusicSection() {
  const bool external = externalMusic_->isChecked();
  ListLabels& music = listLabels_[0];
  for (QWidget* w : {static_cast<QWidget*>(ListBox(MediaListKind::Music)),
                     static_cast<QWidget*>(addDefaultMusic_), static_cast<QWidget*>(music.duration),
                     static_cast<QWidget*>(music.files)}) {
    w->setEnabled(!external);
  }
  musicShuffle_->setEnabled(!external && sections_.shuffle);
  music.title->setText(QString::fromLatin1(external ? kMusicDisabledTitle : kMusicTitle));
}

void CChannelDlg::RefreshLists() {
  for (COLEDragAndDropListBox* list : lists_) list->Refresh();
}

void CChannelDlg::Tick() {
  tick_.stop();
  ReadSettings();
  ReadSchedule();
  const std::size_t before = editor_.List(MediaListKind::Music).RowCount();
  const ChannelEditorView view = editor_.Tick();
  if (editor_.List(MediaListKind::Music).RowCount() != before) RefreshLists();
  const ChannelListLabels& labels = view.labels;
  listLabels_[0].duration->setText(Text(labels.musicDuration));
  listLabels_[0].files->setText(Text(labels.musicFiles));
  listLabels_[1].duration->setText(Text(labels.messageDuration));
  listLabels_[1].files->setText(Text(labels.messageFiles));
  listLabels_[2].files->setText(Text(labels.scheduledFiles));
  totalMessagePlay_->setText(Text(labels.totalMessagePlay));
  if (view.remaining) {
    remainingText_->setText(Text(view.remaining->text));
    remainingBar_->setValue(static_cast<int>(view.remaining->barPosition));
    const QString chunk = view.remaining->red ? QStringLiteral("rgb(175, 0, 0)")
                                              : QStringLiteral("rgb(0, 175, 0)");
    remainingBar_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: %1; }").arg(chunk));
  }
  status_->setText(Text(view.status));
  ShowSchedule();
  tick_.start();
}

void CChannelDlg::WhileAdding(const std::function<void()>& work) {
  if (Adding()) return;
  addingCover_->setGeometry(rect());
  addingCover_->show();
  addingCover_->raise();
  for (QWidget* w : {static_cast<QWidget*>(addingText_), static_cast<QWidget*>(addingBar_)}) {
    w->show();
    w->raise();
  }
  status_->hide();
  addingCover_->setFocus();
  addingCover_->grabKeyboard();
  work();
  addingCover_->releaseKeyboard();
  addingCover_->hide();
  addingText_->hide();
  addingBar_->hide();
  status_->show();
  RefreshLists();
  Tick();
}

QAbstractButton* CChannelDlg::ButtonForEnter(QWidget* focus) const {
  for (CColorButton* button :
       {cancel_, loadDefaults_, saveSettings_, save_, addDefaultMusic_, help_}) {
    if (focus == button) return button;
  }
  return nullptr;
}

void CChannelDlg::CloseRequested() {
  if (!Adding()) OnCancel();
}

void CChannelDlg::OnSave() {
  ReadSettings();
  if (!editor_.Save()) return;
  tick_.stop();
  done(kSaved);
}

void CChannelDlg::OnCancel() {
  if (!editor_.Cancel()) return;
  tick_.stop();
  RefreshLists();
  done(kAbandoned);
}

void CChannelDlg::OnSaveSettings() {
  ReadSettings();
  editor_.SaveSettings();
}

void CChannelDlg::OnLoadDefaults() {
  ReadSettings();
  if (!editor_.LoadDefaults()) return;
  ShowSettings();
  UpdateMusicSection();
}

void CChannelDlg::OnExternalMusic(bool ticked) {
  UpdateMusicSection();
  editor_.ExternalMusicClicked(ticked);
  RefreshLists();
}

}  // namespace corvane
