// The channel editor driven as the operator drives it: clicks, keys, the
// lists' menus, a drag; checked against what the operator was asked and
// what ended in the channel's record and the temporary folder.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>

#include "audio/Loudness.h"
#include "core/audio/AudioSignals.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/channel/MediaListBox.h"
#include "media/LoudnessPreference.h"
#include "session/DeviceModel.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

using Names = std::vector<std::string>;

class GuiChannelEditor : public ScreenTest {
 protected:
  // A Tonvex-SU in MOH mode unless told otherwise, both channels fresh and
  // the default music not asked for.
  std::unique_ptr<CChannelDlg> OpenEditor(DeviceModel model = DeviceModel::TonvexSU,
                                          int channel = 1) {
    session.ApplyModel(ModelNumber(model), true);
    session.Security.MohMode = true;
    for (ChannelConfig* c : {&session.Channel1, &session.Channel2}) {
      if (c->MasterVolume == 0) *c = FreshChannel();
      c->Auto_Add_Default_Music = 0;
    }
    auto editor = std::make_unique<CChannelDlg>(context, screens, channel);
    ShowScreen(*editor);
    return editor;
  }
  std::filesystem::path Tone(const std::string& name, double seconds) {
    const auto path = data.Path() / name;
    WriteWave(path, 22050, Sine(440, 22050, seconds));
    return path;
  }
  static QString LabelText(const QWidget* screen, const char* name) {
    return Find<QLabel>(screen, name)->text();
  }
};

TEST_F(GuiChannelEditor, OpensWithTheChannelsRowsSettingsAndEveryControlNamed) {
  session.Channel1 = FreshChannel();
  session.Channel1.Treble = -3;
  session.Channel1.Music.entries = {{"00:03:00", "song.ogg"}, {"00:01:05", "jingle.ogg"}};
  session.Channel1.Music.Media_Duration = 245;
  session.Channel1.Scheduled.AddEntry({"00:00:30", "noon.ogg"}, 12 * 3600, 0x36010F22);
  auto editor = OpenEditor();

  EXPECT_EQ(Rows(editor->Editor().List(MediaListKind::Music)),
            (Names{"00:03:00 | song.ogg", "00:01:05 | jingle.ogg"}));
  EXPECT_EQ(LabelText(editor.get(), "musicDuration"), "Duration: 00:04:05");
  EXPECT_EQ(LabelText(editor.get(), "musicFiles"), "Files: 2");
  EXPECT_EQ(Find<QSpinBox>(editor.get(), "masterVolume")->text(), "50");
  EXPECT_EQ(Find<QSpinBox>(editor.get(), "treble")->text(), "-3");
  EXPECT_EQ(Find<QSpinBox>(editor.get(), "messageSeconds")->text(), "20");
  EXPECT_EQ(LabelText(editor.get(), "channelNumber"), "Ch.1");
  // The scheduled row shows its schedule: noon, Monday and Friday, 1 March - 15 June.
  EXPECT_EQ(Find<QSpinBox>(editor.get(), "startHours")->text(), "12");
  EXPECT_TRUE(Find<QCheckBox>(editor.get(), "day1")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(editor.get(), "day2")->isChecked());
  EXPECT_EQ(Find<QComboBox>(editor.get(), "startMonth")->currentText(), "March");
  EXPECT_EQ(Find<QComboBox>(editor.get(), "stopDay")->currentText(), "15");
  EXPECT_TRUE(Find<QComboBox>(editor.get(), "stopMonth")->isEnabled());
  // Tonvex-SU has no repeat interval.
  EXPECT_FALSE(Find<QSpinBox>(editor.get(), "repeatMinutes")->isEnabled());

  // Every control can be found by a screen reader.
  EXPECT_EQ(UnnamedControls(*editor), QStringList());
}

TEST_F(GuiChannelEditor, AFileAddedFromTheMenuIsConvertedOffTheUiThreadAndSaved) {
  auto editor = OpenEditor();
  const auto song = Tone("song.wav", 3.0);
  auto* messages = Find<COLEDragAndDropListBox>(editor.get(), "messages");
  // A timer due at once fires only if the window keeps handling events
  // while the file converts.
  bool eventsHandled = false;
  converter.onConvert = [&] {
    QMetaObject::invokeMethod(
        editor.get(), [&] { eventsHandled = editor->Adding(); }, Qt::QueuedConnection);
  };
  op.ExpectOpenFiles({song});
  messages->RunMenuCommand(COLEDragAndDropListBox::MenuCommand::AddFiles);
  EXPECT_TRUE(eventsHandled);
  EXPECT_FALSE(editor->Adding());
  EXPECT_EQ(Rows(editor->Editor().List(MediaListKind::Messages)), Names{"00:00:03 | song.ogg*"});
  EXPECT_EQ(LabelText(editor.get(), "messagesFiles"), "Files: 1");
  EXPECT_FALSE(Find<QProgressBar>(editor.get(), "addingProgress")->isVisible());

  Click(Find<QAbstractButton>(editor.get(), "save"));
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(editor->result(), CChannelDlg::kSaved);
  EXPECT_EQ(session.Channel1.Messages.Media_Duration, 3u);
}

TEST_F(GuiChannelEditor, CancelAsksAndThenTakesTheNewFilesAway) {
  auto editor = OpenEditor();
  converter.replyBytes = std::vector<std::uint8_t>(10, 1);
  auto* music = Find<COLEDragAndDropListBox>(editor.get(), "music");
  // Dropped from the desktop.
  emit music->FilesDropped({QString::fromStdString((data.Path() / "a.mp3").string())});
  EXPECT_EQ(NamesIn(Temp()), Names{"a.ogg"});

  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::No);
  Click(Find<QAbstractButton>(editor.get(), "cancel"));
  EXPECT_TRUE(editor->isVisible());
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  editor->close();  // the title bar's close box asks the same
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(editor->result(), CChannelDlg::kAbandoned);
  EXPECT_TRUE(NamesIn(Temp()).empty());
}

// A 1 kHz tone of amplitude A (of full scale) measures 20 log10(A) - 3.01 LUFS.
std::filesystem::path ToneAt(const TempFolder& folder, const std::string& name, double lufs) {
  const auto path = folder / name;
  WriteWave(path, 22050, Sine(1000, 22050, 5.0, std::pow(10, (lufs + 3.01) / 20) * 32767));
  return path;
}

// The row's tooltip once its file has been measured.
QString SettledToolTip(COLEDragAndDropListBox* list, int row) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  QString tip;
  do {
    QTest::qWait(5);
    tip = list->model()->index(row, 0).data(Qt::ToolTipRole).toString();
  } while (tip.contains(QStringLiteral("being measured")) &&
           std::chrono::steady_clock::now() < giveUp);
  return tip;
}

TEST_F(GuiChannelEditor, EvenedLoudnessBringsEachListToItsTargetAndRowsSayHowLoud) {
  auto editor = OpenEditor();
  auto* even = Find<QCheckBox>(editor.get(), "evenLoudness");
  auto* musicTarget = Find<QSpinBox>(editor.get(), "musicLoudness");
  EXPECT_FALSE(even->isChecked());
  EXPECT_FALSE(musicTarget->isEnabled());
  EXPECT_EQ(musicTarget->accessibleName(), "Music loudness (LUFS)");
  Click(even);
  musicTarget->selectAll();
  QTest::keyClicks(musicTarget, "-20");
  EXPECT_EQ(ReadLoudnessPreference(session.Folders.ApplicationFolder),
            (LoudnessPreference{true, -20, -16}));

  auto* music = Find<COLEDragAndDropListBox>(editor.get(), "music");
  auto* messages = Find<COLEDragAndDropListBox>(editor.get(), "messages");
  emit music->FilesDropped({QString::fromStdString(ToneAt(data, "quiet.wav", -30).string())});
  emit messages->FilesDropped({QString::fromStdString(ToneAt(data, "loud.wav", -10).string())});
  EXPECT_NEAR(MeasureLoudness(Temp() / "quiet.ogg").integratedLufs, -20, 0.5);
  EXPECT_NEAR(MeasureLoudness(Temp() / "loud.ogg").integratedLufs, -16, 0.5);
  const QString quietTip = SettledToolTip(music, 0);
  ASSERT_TRUE(quietTip.startsWith(QStringLiteral("Loudness: "))) << quietTip.toStdString();
  EXPECT_NEAR(quietTip.section(QLatin1Char(' '), 1, 1).toDouble(), -20, 0.5);
  EXPECT_TRUE(quietTip.endsWith(QStringLiteral(" LUFS")));

  // Switched off, files keep their own loudness, and the rows still say it.
  Click(even);
  emit music->FilesDropped({QString::fromStdString(ToneAt(data, "as-is.wav", -30).string())});
  EXPECT_FALSE(converter.calls.back().loudness.has_value());
  EXPECT_NEAR(SettledToolTip(music, 1).section(QLatin1Char(' '), 1, 1).toDouble(), -30, 0.5);
  EXPECT_FALSE(ReadLoudnessPreference(session.Folders.ApplicationFolder).normalise);
}

TEST_F(GuiChannelEditor, EnterActsOnlyOnTheEditorsButtonsAndEscapeNeverCloses) {
  auto editor = OpenEditor();
  PressEnter(Find<QSpinBox>(editor.get(), "masterVolume"));
  PressEscape(Find<QSpinBox>(editor.get(), "masterVolume"));
  EXPECT_TRUE(editor->isVisible());
  op.ExpectQuestion("Load Defaults", "Load application default settings?", OperatorAnswer::No);
  PressEnter(Find<QAbstractButton>(editor.get(), "loadDefaults"));
  PressEnter(Find<QAbstractButton>(editor.get(), "save"));
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(editor->result(), CChannelDlg::kSaved);
}

TEST_F(GuiChannelEditor, TheMessageSpacingSpinRefusesWhatTheDeviceCannotHold) {
  // Tonvex-One: 720 seconds. Music 600 s, three messages of 100 s.
  session.ApplyModel(ModelNumber(DeviceModel::TonvexOne), true);
  session.Channel1 = FreshChannel();
  session.Channel1.Music.entries = {{"00:10:00", "music.ogg"}};
  session.Channel1.Music.Media_Duration = 600;
  session.Channel1.Messages.entries = {{"00:01:40", "a.ogg"}, {"00:01:40", "b.ogg"}, {"00:01:40", "c.ogg"}};
  session.Channel1.Messages.Media_Duration = 300;
  session.Channel1.Time_Between_Messages = 140;
  auto editor = OpenEditor(DeviceModel::TonvexOne);
  editor->Tick();
  EXPECT_EQ(LabelText(editor.get(), "timeRemaining"), "<1 min");

  auto* seconds = Find<QSpinBox>(editor.get(), "messageSeconds");
  op.ExpectMessage("Media Length Error", "Message play time exceeds available device time.");
  QTest::keyClick(seconds, Qt::Key_Up);
  EXPECT_EQ(seconds->value(), 20);
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Stop);
  // Down to 100 s: 120 seconds remain, on a green bar.
  auto* minutes = Find<QSpinBox>(editor.get(), "messageMinutes");
  QTest::keyClick(minutes, Qt::Key_Down);
  for (int i = 0; i < 20; ++i) QTest::keyClick(seconds, Qt::Key_Up);
  EXPECT_EQ(minutes->value() * 60 + seconds->value(), 100);
  editor->Tick();
  EXPECT_EQ(LabelText(editor.get(), "timeRemaining"), "00:02");
  EXPECT_EQ(Find<QProgressBar>(editor.get(), "timeRemainingBar")->value(), 2);
}

TEST_F(GuiChannelEditor, ScheduleControlsEditTheSelectedRowLive) {
  auto editor = OpenEditor();
  converter.replyBytes = std::vector<std::uint8_t>(10, 1);
  auto* scheduled = Find<COLEDragAndDropListBox>(editor.get(), "scheduled");
  op.ExpectOpenFiles({data.Path() / "announce.wav"});
  scheduled->RunMenuCommand(COLEDragAndDropListBox::MenuCommand::AddFiles);
  editor->Tick();
  auto& words = editor->Editor().Lists().scheduled.words;
  ASSERT_EQ(words.size(), 1u);

  scheduled->RunMenuCommand(COLEDragAndDropListBox::MenuCommand::SetWeekDays);
  editor->Tick();
  EXPECT_TRUE(Find<QCheckBox>(editor.get(), "day5")->isChecked());
  // Start March, stop March; then start June moves the stop month along.
  auto* startMonth = Find<QComboBox>(editor.get(), "startMonth");
  auto* stopMonth = Find<QComboBox>(editor.get(), "stopMonth");
  emit stopMonth->activated(0);  // January, as the start month: no change
  EXPECT_EQ(Find<QComboBox>(editor.get(), "stopDay")->currentText(), "31");
  op.ExpectMessage("Invalid Date Window", "Stop month changed");
  emit startMonth->activated(2);
  op.ExpectMessage("Invalid Date Window", "Stop month changed");
  emit startMonth->activated(5);
  EXPECT_EQ(stopMonth->currentText(), "June");
  EXPECT_EQ(Find<QComboBox>(editor.get(), "stopDay")->currentText(), "30");
  EXPECT_EQ(Find<QComboBox>(editor.get(), "stopDay")->count(), 30);
  Find<QSpinBox>(editor.get(), "startHours")->setValue(9);
  editor->Tick();
  EXPECT_EQ(words[0], 0x66011E3Eu);
  EXPECT_EQ(editor->Editor().Lists().scheduled.startMinutes[0], 9u * 60);
}

TEST_F(GuiChannelEditor, ExternalMusicDisablesTheMusicAndOffersToPurgeIt) {
  auto editor = OpenEditor();
  editor->Editor().List(MediaListKind::Music).Append("00:00:01 | new.ogg*");
  WriteWholeFile(Temp() / "new.ogg", std::vector<std::uint8_t>(3, 1));
  op.ExpectQuestion("External Music Selected",
                    "Permanently delete unused music files from temporary folder?",
                    OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(editor.get(), "externalMusic"));
  EXPECT_EQ(LabelText(editor.get(), "musicTitle"), "Music - Disabled via External Music Input");
  EXPECT_FALSE(Find<QWidget>(editor.get(), "music")->isEnabled());
  EXPECT_FALSE(Find<QWidget>(editor.get(), "addDefaultMusic")->isEnabled());
  EXPECT_EQ(Find<QAbstractItemView>(editor.get(), "music")->model()->rowCount(), 0);
  Click(Find<QAbstractButton>(editor.get(), "externalMusic"));
  EXPECT_EQ(LabelText(editor.get(), "musicTitle"), "Music");
  EXPECT_TRUE(Find<QWidget>(editor.get(), "music")->isEnabled());
}

TEST_F(GuiChannelEditor, AShortenedEditorScrollsOverItsWholeHeight) {
  auto editor = OpenEditor();
  const int full = editor->height();
  editor->resize(editor->width(), full / 2);  // below the shortest it may be
  QCoreApplication::processEvents();
  const int shortest = editor->height();
  EXPECT_LT(shortest, full);
  EXPECT_GT(shortest, full / 2);
  QScrollBar* scroll = editor->ScrollBar();
  ASSERT_NE(scroll, nullptr);
  EXPECT_TRUE(scroll->isVisible());
  EXPECT_EQ(scroll->maximum(), full - shortest);
  auto* save = Find<QWidget>(editor.get(), "save");
  const int top = save->y();
  scroll->setValue(scroll->maximum());
  EXPECT_EQ(save->y(), top - scroll->maximum());
  EXPECT_LE(save->geometry().bottom(), editor->height());
}

TEST_F(GuiChannelEditor, RecordAudioFileOpensTheRecorderAndAddsWhatItSaved) {
  auto editor = OpenEditor();
  converter.replyBytes = std::vector<std::uint8_t>(10, 1);
  auto* messages = Find<COLEDragAndDropListBox>(editor.get(), "messages");
  messages->RunMenuCommand(COLEDragAndDropListBox::MenuCommand::Record);
  screens.recording = data.Path() / "take.wav";
  messages->RunMenuCommand(COLEDragAndDropListBox::MenuCommand::Record);
  ASSERT_EQ(screens.opened.size(), 2u);
  EXPECT_EQ(screens.opened[0], std::make_pair(std::string("recorder"), static_cast<QWidget*>(editor.get())));
  EXPECT_EQ(Rows(editor->Editor().List(MediaListKind::Messages)), Names{"00:00:01 | take.ogg*"});
}

}  // namespace
}  // namespace corvane::test
