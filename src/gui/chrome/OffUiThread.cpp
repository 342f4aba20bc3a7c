#include "gui/chrome/OffUiThread.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QMetaObject>
#include <QObject>
#include <thread>

namespace corvane {

void RunOffUiThread(const std::function<void()>& work) {
  QEventLoop loop;
  // Dropped with this call, so a late quit can never reach another loop.
  QObject relay;
  std::thread worker([&] {
    work();
    QMetaObject::invokeMethod(&relay, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
}

void BarProgress::SetCaption(std::string_view text) {
  if (auto* label = qobject_cast<QLabel*>(caption_)) {
    label->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

void BarProgress::SetRange(int low, int high) {
  if (auto* bar = qobject_cast<QProgressBar*>(&bar_)) bar->setRange(low, high);
}

void BarProgress::SetPosition(int position) {
  if (auto* bar = qobject_cast<QProgressBar*>(&bar_)) bar->setValue(position);
}

}  // namespace corvane
