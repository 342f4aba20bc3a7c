#pragma once
// The channel editor's work without its window: one channel's three lists
// and its settings as the controls hold them, copied in when the editor
// opens and written back on Save; adding, deleting and playing rows; the
// play-time account; the schedule of the selected scheduled message; and
// Cancel, which throws the editing away together with the files only it
// made. The screen draws what this holds and forwards what the operator
// does; every question goes through the operator seam.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/LoudnessSurvey.h"
#include "channel/ChannelSettingsFile.h"
#include "channel/MediaList.h"
#include "channel/PlayTime.h"
#include "channel/ScheduleControls.h"
#include "channel/ScheduleWord.h"
#include "media/MediaAdding.h"
#include "project/ProjectContext.h"

namespace corvane {

// "Add Files" offers these.
inline constexpr const char* kMediaFilesFilter =
    "Supported Media Files (*.aiff;*.flac;*.pcm;*.mp4;*.mp3;*.wav;*.ogg;*wma)|"
    "*.aiff;*.flac;*.pcm;*.mp4;*.mp3;*.wav;*.ogg;*wma|All Files (*.*)|*.*|"
    "AIFF (*.aiff)|*.aiff|FLAC (*.flac)|*.flac|PCM (*.pcm)|*.pcm|"
    "MPEG4 (*.mp4;*.mpeg4)|*.mp4;*.mpeg4|MP3 (*.mp3)|*.mp3|WAV (*.wav)|*.wav|"
    "OGG (*.ogg)|*.ogg|WMA (*.wma)|*.wma||";

// The length of the default music a player already holds, for models that
// take no file for it.
inline constexpr std::int64_t kDefaultMusicSeconds = 232;

// The controls of the settings section, as the operator set them.
struct ChannelControls {
  ChannelSettingsValues settings;
  bool musicShuffle = false;
  bool messageShuffle = false;
};

// What one tick of the editor gives the screen to draw.
struct ChannelEditorView {
  ChannelListLabels labels;
  std::optional<RemainingDisplay> remaining;
  std::string status;  // the preview player's, while it plays
};

// Which parts of the editor a model offers.
struct ChannelEditorSections {
  bool shuffle = true;
  bool repeatInterval = true;
  bool messages = true;             // the list, its labels, the levels and cross-fade
  bool toneControls = true;         // bass, treble and external music
  bool endMusicAfterLastMessage = false;
  bool scheduledMessages = true;    // only in MOH mode
  bool securityLines = true;        // provider key, device ID, description
  bool playerControls = true;       // master volume and local volume control
  bool totalMessagePlayDuration = true;
  bool operator==(const ChannelEditorSections&) const = default;
};
ChannelEditorSections SectionsFor(const ST_AUDIO_TYPE& audio, bool mohMode);

class ChannelEditor {
 public:
  // editedChannelNumber: 0 for the single channel of one-list models, else
  // 1 or 2. The context's converter and progress serve additions.
  ChannelEditor(ProjectContext& context, int editedChannelNumber);

  // Copies the channel into the lists and controls and makes the first
  // check of the device's room.
  void Open();
  // Once every 100 ms while the editor is open. The first tick adds the
  // default music to an untouched, empty channel that asks for it.
  ChannelEditorView Tick();

  // Writes lists, schedules, totals and settings into the channel; false
  // when the operator chose to go on editing.
  bool Save();
  // Writes the settings file now and the settings into the channel; the
  // lists stay as they are. False when the operator declined.
  bool SaveSettings();
  // Puts the settings controls back to the factory values; false when the
  // operator declined or the messages would not fit.
  bool LoadDefaults();
  // Asks first; on Yes drops every row added since opening with the files
  // nothing else names, and the editor closes (true).
  bool Cancel();
  // "Enable External Music" was clicked; a tick offers to delete the music
  // files nothing else uses, and empties the music list for good.
  void ExternalMusicClicked(bool ticked);
  // Whether the "Time Between Messages" spins may show this spacing.
  bool MaySpaceMessages(int minutes, int seconds);

  void AddDefaultMusic();
  // "Add Files": the operator picks files for the list.
  std::size_t AddFilesFromDialog(MediaListKind kind);
  // Files dropped on a list, or a recording, in order.
  std::size_t AddFiles(MediaListKind kind, std::span<const std::filesystem::path> sources);
  void DeleteSelected(MediaListKind kind, bool fromMenu);
  // Plays the row, or the last selected row of the list.
  void PlayRow(MediaListKind kind, std::size_t row);
  void PlaySelected(MediaListKind kind);
  // How loud the row's file is, as its tooltip says it: measured off the
  // UI thread, so "being measured" until the figures are in.
  std::string LoudnessOfRow(MediaListKind kind, std::size_t row);
  void StopPlaying();
  void ApplyDayCommand(DayCommand command);

  MediaList& List(MediaListKind kind);
  EditedLists Lists();
  ScheduleControls& Schedule() { return schedule_; }
  ChannelControls& Controls() { return controls_; }
  const ST_AUDIO_TYPE& Audio() const;
  PlayTimeAccount& Account() { return account_; }
  // The lists' figures; the folder's size only where it is counted, since
  // walking the folder is the dear part of a check.
  PlayTimeFigures Figures() const;
  PlayTimeFigures FiguresForCheck() const;
  int ChannelNumber() const { return channelNumber_; }
  // The channel's record in the session.
  ChannelConfig& Stored();
  const ChannelConfig& OtherChannel() const;
  Operator& Asker() { return context_.op; }

  // Told before each file of a batch is added.
  void OnAddingFile(AddingFileNotice notice) { addingFile_ = std::move(notice); }

 private:
  MediaAddition Addition(MediaListKind kind);
  std::optional<std::filesystem::path> FileOfRow(MediaListKind kind, std::size_t row);
  // Starts measuring every listed file not measured yet.
  void SurveyLoudness();
  void StoreSettings();
  void MarkChannelModified();
  void RedrawRemaining();
  std::filesystem::path TempFolder() const;
  std::filesystem::path DefaultMusicFile() const;

  ProjectContext& context_;
  int channelNumber_;
  MediaList music_{MediaListKind::Music};
  MediaList messages_{MediaListKind::Messages};
  MediaList scheduled_{MediaListKind::Scheduled};
  std::vector<std::uint32_t> startMinutes_;
  std::vector<std::uint32_t> words_;
  ScheduleControls schedule_;
  ChannelControls controls_;
  PlayTimeAccount account_;
  bool firstTickDone_;
  AddingFileNotice addingFile_;
  LoudnessSurvey survey_;
};

}  // namespace corvane
