#include "gui/audio/BackgroundConverter.h"

#include <QMetaObject>
#include <QObject>
#include <string>

#include "gui/chrome/OffUiThread.h"

namespace corvane {
namespace {

// Hands each report of the worker to the UI thread. Reports still queued
// when the relay goes are dropped with it.
class HandedOverProgress final : public Progress {
 public:
  HandedOverProgress(QObject& relay, Progress& target) : relay_(relay), target_(target) {}
  void SetCaption(std::string_view caption) override {
    Post([this, text = std::string(caption)] { target_.SetCaption(text); });
  }
  void SetRange(int low, int high) override {
    Post([this, low, high] { target_.SetRange(low, high); });
  }
  void SetPosition(int position) override {
    Post([this, position] { target_.SetPosition(position); });
  }

 private:
  template <typename Work>
  void Post(Work work) {
    QMetaObject::invokeMethod(&relay_, std::move(work), Qt::QueuedConnection);
  }
  QObject& relay_;
  Progress& target_;
};

}  // namespace

ConversionResult BackgroundConverter::Convert(const std::filesystem::path& source,
                                              const std::filesystem::path& destination,
                                              const ST_AUDIO_TYPE& audio,
                                              std::string_view caption, Progress& progress) {
  QObject relay;
  HandedOverProgress handedOver(relay, progress);
  ConversionResult result;
  busy_ = true;
  RunOffUiThread([&] { result = inner_.Convert(source, destination, audio, caption, handedOver); });
  busy_ = false;
  return result;
}

}  // namespace corvane
