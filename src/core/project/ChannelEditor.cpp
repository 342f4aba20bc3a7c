#include "project/ChannelEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "channel/ListCleanup.h"
#include "channel/MediaDeletion.h"
#include "channel/MediaEntry.h"
#include "common/FileNames.h"
#include "media/MediaAdding.h"

namespace corvane {
namespace {

constexpr const char* kDefaultMusicBase = "default_music";

PlayTimeAccounting AccountingOf(const ST_AUDIO_TYPE& audio) {
  return audio.GapsCountAsPlayTime != 0 ? PlayTimeAccounting::Time : PlayTimeAccounting::Storage;
}

void CopyIn(const PlaylistRecord& stored, MediaList& list) {
  for (const MediaEntry& entry : stored.entries) list.Append(entry.Line());
  list.SetTotal(stored.Media_Duration);
}

void CopyOut(const MediaList& list, PlaylistRecord& stored) {
  stored.entries.clear();
  for (std::size_t i = 0; i < list.RowCount(); ++i) {
    stored.entries.push_back(SplitEntryLine(StripUnsavedMarker(list.Row(i))));
  }
  stored.Media_Duration = static_cast<std::uint32_t>(std::max<std::int64_t>(list.TotalSeconds(), 0));
}

}  // namespace

ChannelEditorSections SectionsFor(const ST_AUDIO_TYPE& audio, bool mohMode) {
  ChannelEditorSections s;
  s.shuffle = audio.HasShuffle != 0;
  s.repeatInterval = audio.HasRepeatInterval != 0;
  s.messages = audio.HasMessages != 0;
  s.toneControls = audio.HasToneControls != 0;
  s.endMusicAfterLastMessage = audio.HasToneControls == 0;
  s.scheduledMessages = audio.HasScheduledMessages != 0 && mohMode;
  s.playerControls = audio.IsPlayerDevice != 0;
  s.securityLines = s.playerControls && mohMode;
  // Without a repeat interval the total is hidden, but models that are no
  // player show it all the same.
  s.totalMessagePlayDuration = s.repeatInterval || !s.playerControls;
  return s;
}

ChannelEditor::ChannelEditor(ProjectContext& context, int editedChannelNumber)
    : context_(context),
      channelNumber_(editedChannelNumber),
      account_(AccountingOf(context.session.Audio)),
      // A channel saved from the editor before is never given the default
      // music again.
      firstTickDone_(editedChannelNumber == 2 ? context.home.Channel2Modified
                                              : context.home.Channel1Modified) {}

ChannelConfig& ChannelEditor::Stored() {
  return channelNumber_ == 2 ? context_.session.Channel2 : context_.session.Channel1;
}

const ChannelConfig& ChannelEditor::OtherChannel() const {
  return OtherChannelNumber(channelNumber_) == 1 ? context_.session.Channel1
                                                 : context_.session.Channel2;
}

const ST_AUDIO_TYPE& ChannelEditor::Audio() const { return context_.session.Audio; }

std::filesystem::path ChannelEditor::TempFolder() const {
  return context_.session.Folders.TempFolder;
}

std::filesystem::path ChannelEditor::DefaultMusicFile() const {
  return context_.session.Folders.ProgramFolder /
         (std::string(kDefaultMusicBase) + Audio().MediaExtension.Str());
}

MediaList& ChannelEditor::List(MediaListKind kind) {
  EditedLists lists = Lists();
  return ListOfKind(lists, kind);
}

EditedLists ChannelEditor::Lists() {
  return {music_, messages_, {scheduled_, startMinutes_, words_}};
}

PlayTimeFigures ChannelEditor::Figures() const {
  PlayTimeFigures figures;
  figures.musicSeconds = music_.TotalSeconds();
  figures.messageSeconds = messages_.TotalSeconds();
  figures.messageCount = static_cast<std::int64_t>(messages_.RowCount());
  figures.secondsBetween = std::int64_t{controls_.settings.messageMinutes} * 60 +
                           controls_.settings.messageSeconds;
  figures.capacitySeconds = Audio().MaxLength;
  figures.bytesPerSecond = Audio().BytesPerSecond;
  return figures;
}

PlayTimeFigures ChannelEditor::FiguresForCheck() const {
  PlayTimeFigures figures = Figures();
  if (account_.Accounting() == PlayTimeAccounting::Storage) {
    figures.folderBytes = FolderFileBytes(TempFolder());
  }
  return figures;
}

void ChannelEditor::RedrawRemaining() {
  account_.IsOverCapacity(FiguresForCheck(), 0, PlayTimeList::Other);
}

void ChannelEditor::Open() {
  const ChannelConfig& stored = Stored();
  music_ = MediaList(MediaListKind::Music);
  messages_ = MediaList(MediaListKind::Messages);
  scheduled_ = MediaList(MediaListKind::Scheduled);
  startMinutes_.clear();
  words_.clear();
  CopyIn(stored.Music, music_);
  CopyIn(stored.Messages, messages_);
  const ScheduledRecord& timed = stored.Scheduled;
  for (std::size_t i = 0; i < timed.entries.size(); ++i) {
    scheduled_.Append(timed.entries[i].Line());
    // A damaged package may carry fewer times or words than entries.
    startMinutes_.push_back(i < timed.PA_ListStartTime.size() ? timed.PA_ListStartTime[i] / 60 : 0);
    words_.push_back(i < timed.PA_ActiveDays.size() ? timed.PA_ActiveDays[i] : 0);
  }
  scheduled_.SetTotal(timed.Media_Duration);
  controls_.musicShuffle = stored.Music.PlaylistShuffleEnabled != 0;
  controls_.messageShuffle = stored.Messages.PlaylistShuffleEnabled != 0;
  schedule_.ShowAgain();
  schedule_.Sync({scheduled_, startMinutes_, words_});
  controls_.settings = ValuesFromChannel(stored);
  account_ = PlayTimeAccount(account_.Accounting());
  // The first check counts no spacing: the spins have not been read yet.
  PlayTimeFigures figures = FiguresForCheck();
  figures.secondsBetween = 0;
  account_.IsOverCapacity(figures, 0, PlayTimeList::Other);
  SurveyLoudness();
}

ChannelEditorView ChannelEditor::Tick() {
  if (!firstTickDone_) {
    firstTickDone_ = true;
    const bool empty = music_.RowCount() == 0 && messages_.RowCount() == 0 &&
                       scheduled_.RowCount() == 0;
    if (controls_.settings.autoAddDefaultMusic && !controls_.settings.externalAudioEnabled &&
        Stored().Auto_Add_Default_Music == 1 && empty) {
      AddDefaultMusic();
    }
  }
  ChannelEditorView view;
  const PlayTimeFigures figures = Figures();
  view.labels = ListLabels(figures, static_cast<std::int64_t>(music_.RowCount()),
                           static_cast<std::int64_t>(scheduled_.RowCount()));
  if (account_.Accounting() == PlayTimeAccounting::Time) {
    account_.IsOverCapacity(figures, 0, PlayTimeList::Other);
  }
  view.remaining = account_.Display();
  if (context_.player.IsPlaying()) view.status = context_.player.Status();
  schedule_.Sync({scheduled_, startMinutes_, words_});
  return view;
}

void ChannelEditor::StoreSettings() {
  ChannelConfig& stored = Stored();
  DecodeChannelSettings(EncodeChannelSettings(controls_.settings), stored);
  stored.Music.PlaylistShuffleEnabled = controls_.musicShuffle ? 1 : 0;
  stored.Messages.PlaylistShuffleEnabled = controls_.messageShuffle ? 1 : 0;
}

bool ChannelEditor::Save() {
  if (!AcceptMessagesOutlastingMusic(account_.Accounting(), Figures(), context_.op)) return false;
  ChannelConfig& stored = Stored();
  CopyOut(music_, stored.Music);
  CopyOut(messages_, stored.Messages);
  ScheduledRecord& timed = stored.Scheduled;
  timed.entries.clear();
  timed.PA_ListStartTime.clear();
  timed.PA_ActiveDays.clear();
  for (std::size_t i = 0; i < scheduled_.RowCount(); ++i) {
    timed.AddEntry(SplitEntryLine(StripUnsavedMarker(scheduled_.Row(i))),
                   i < startMinutes_.size() ? startMinutes_[i] * 60 : 0,
                   i < words_.size() ? words_[i] : 0);
  }
  timed.Media_Duration =
      static_cast<std::uint32_t>(std::max<std::int64_t>(scheduled_.TotalSeconds(), 0));
  StoreSettings();
  context_.player.Stop();
  return true;
}

bool ChannelEditor::SaveSettings() {
  if (context_.op.Ask("Save Settings", "Save application settings?", OperatorButtons::YesNo,
                      OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return false;
  }
  if (!SaveChannelSettings(context_.session.Folders.ApplicationFolder, channelNumber_,
                           Audio().Model, controls_.settings)) {
    context_.op.Tell("Write Error", "Failed to save settings.", OperatorIcon::Stop);
  }
  StoreSettings();
  return true;
}

bool ChannelEditor::LoadDefaults() {
  if (context_.op.Ask("Load Defaults", "Load application default settings?",
                      OperatorButtons::YesNo, OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return false;
  }
  if (!DefaultSpacingFits(account_.Accounting(), Figures(), context_.op)) return false;
  ChannelConfig defaults;
  defaults.ResetSettings();
  controls_.settings = ValuesFromChannel(defaults);
  return true;
}

bool ChannelEditor::Cancel() {
  if (!AbandonChanges(context_.op)) return false;
  for (const MediaListKind kind :
       {MediaListKind::Music, MediaListKind::Messages, MediaListKind::Scheduled}) {
    DropRowsAddedSinceOpening(Lists(), kind, Stored(), OtherChannel(), TempFolder());
  }
  context_.player.Stop();
  return true;
}

void ChannelEditor::ExternalMusicClicked(bool ticked) {
  controls_.settings.externalAudioEnabled = ticked;
  if (!ticked) return;
  if (context_.op.Ask("External Music Selected",
                      "Permanently delete unused music files from temporary folder?",
                      OperatorButtons::YesNo, OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return;
  }
  // The player may hold one of the files about to go.
  context_.player.Stop();
  PurgeMusic(Lists(), Stored(), OtherChannel(), TempFolder());
  RedrawRemaining();
}

bool ChannelEditor::MaySpaceMessages(int minutes, int seconds) {
  return corvane::MaySpaceMessages(account_, Figures(), std::int64_t{minutes} * 60 + seconds,
                                   context_.op);
}

MediaAddition ChannelEditor::Addition(MediaListKind kind) {
  return MediaAddition{Lists(),
                       kind,
                       OtherChannel(),
                       Audio(),
                       TempFolder(),
                       account_,
                       [this] { return FiguresForCheck(); },
                       context_.converter,
                       context_.progress,
                       context_.op,
                       addingFile_,
                       LoudnessTargetFor(context_.session.Loudness, kind)};
}

void ChannelEditor::AddDefaultMusic() {
  if (Audio().DefaultMusicFromFile != 0) {
    const std::filesystem::path source = DefaultMusicFile();
    MediaAddition addition = Addition(MediaListKind::Music);
    if (addingFile_) addingFile_(1, 1, source);
    AddMediaFile(addition, source, true);
  } else if (music_.RowCount() >= static_cast<std::size_t>(std::max(Audio().ListCapacity, 0))) {
    context_.op.Tell("Unable to add file.", "Media List Full.", OperatorIcon::Stop);
  } else {
    music_.Append(FormatEntry(kDefaultMusicSeconds,
                              std::string(kDefaultMusicBase) + Audio().MediaExtension.Str()) +
                  kUnsavedMarker);
  }
  RedrawRemaining();
  SurveyLoudness();
}

std::size_t ChannelEditor::AddFilesFromDialog(MediaListKind kind) {
  List(kind).SelectAll(false);
  FileDialogRequest request;
  request.filter = kMediaFilesFilter;
  const std::vector<std::filesystem::path> chosen = context_.op.ChooseFilesToOpen(request);
  return AddFiles(kind, chosen);
}

std::size_t ChannelEditor::AddFiles(MediaListKind kind,
                                    std::span<const std::filesystem::path> sources) {
  MediaAddition addition = Addition(kind);
  const std::size_t listed = AddMediaFiles(addition, sources);
  RedrawRemaining();
  SurveyLoudness();
  return listed;
}

void ChannelEditor::DeleteSelected(MediaListKind kind, bool fromMenu) {
  if (fromMenu) context_.player.Stop();
  const std::size_t deleted =
      DeleteSelectedRows(kind, Lists(), Stored(), OtherChannel(), TempFolder(), context_.op,
                         [this] { context_.player.Stop(); });
  if (deleted == 0) return;
  RedrawRemaining();
  if (kind == MediaListKind::Scheduled) {
    schedule_.ShowAgain();
    MarkChannelModified();
  }
}

std::optional<std::filesystem::path> ChannelEditor::FileOfRow(MediaListKind kind, std::size_t row) {
  const MediaList& list = List(kind);
  if (row >= list.RowCount()) return std::nullopt;
  const std::string fileName = SplitEntryLine(StripUnsavedMarker(list.Row(row))).FileName;
  // Names may come from an opened package; only plain names are opened.
  if (!IsPlainFileName(fileName)) return std::nullopt;
  return fileName.find(kDefaultMusicBase) != std::string::npos ? DefaultMusicFile()
                                                               : TempFolder() / fileName;
}

void ChannelEditor::PlayRow(MediaListKind kind, std::size_t row) {
  if (const auto file = FileOfRow(kind, row)) context_.player.PlayFile(file->string());
}

std::string ChannelEditor::LoudnessOfRow(MediaListKind kind, std::size_t row) {
  const auto file = FileOfRow(kind, row);
  if (!file) return {};
  const LoudnessSurvey::Finding finding = survey_.Of(*file);
  switch (finding.state) {
    case LoudnessSurvey::State::Waiting:
      return "Loudness: being measured";
    case LoudnessSurvey::State::Failed:
      return "Loudness: cannot be measured";
    case LoudnessSurvey::State::Measured:
      break;
  }
  const double lufs = finding.figures.integratedLufs;
  if (!std::isfinite(lufs)) return "Loudness: silent";
  char text[48];
  std::snprintf(text, sizeof text, "Loudness: %.1f LUFS", lufs);
  return text;
}

void ChannelEditor::SurveyLoudness() {
  for (const MediaListKind kind :
       {MediaListKind::Music, MediaListKind::Messages, MediaListKind::Scheduled}) {
    for (std::size_t row = 0; row < List(kind).RowCount(); ++row) {
      if (const auto file = FileOfRow(kind, row)) survey_.Of(*file);
    }
  }
}

void ChannelEditor::PlaySelected(MediaListKind kind) {
  const std::vector<std::size_t> selected = List(kind).Selected();
  if (!selected.empty()) PlayRow(kind, selected.back());
}

void ChannelEditor::StopPlaying() { context_.player.Stop(); }

void ChannelEditor::ApplyDayCommand(DayCommand command) {
  const std::vector<std::size_t> selected = scheduled_.Selected();
  if (selected.empty() || selected.front() >= words_.size()) return;
  words_[selected.front()] = corvane::ApplyDayCommand(words_[selected.front()], command);
  schedule_.ShowAgain();
  MarkChannelModified();
}

void ChannelEditor::MarkChannelModified() {
  (channelNumber_ == 2 ? context_.home.Channel2Modified : context_.home.Channel1Modified) = true;
}

}  // namespace corvane
