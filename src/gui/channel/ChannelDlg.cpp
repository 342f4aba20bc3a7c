#include "gui/channel/ChannelDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <filesystem>
#include <vector>

#include "gui/app/NestedScreens.h"
#include "gui/channel/ChannelDlgLayout.h"
#include "gui/channel/MediaListBox.h"
#include "gui/channel/SettingSpin.h"
#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

using namespace channel_layout;

constexpr int kShortestUnits = 370;
constexpr int kBannerUnits = 37;
constexpr int kTickMs = 100;

constexpr const char* kMusicTitle = "Music";
constexpr const char* kMusicDisabledTitle = "Music - Disabled via External Music Input";

QString Text(const std::string& text) { return QString::fromStdString(text); }

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
  BuildLoudness();
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
  list->SetRowToolTip([this, kind](int row) {
    return Text(editor_.LoudnessOfRow(kind, static_cast<std::size_t>(row)));
  });
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
    const auto recording = screens_.RecordAudioFile(this, context_);
    if (!recording) return;
    const std::vector<std::filesystem::path> files = {*recording};
    WhileAdding([this, kind, files] { editor_.AddFiles(kind, files); });
  });
  connect(list, &COLEDragAndDropListBox::DayCommandRequested, this,
          [this](DayCommand command) { editor_.ApplyDayCommand(command); });
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
