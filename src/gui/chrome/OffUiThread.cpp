#include "gui/chrome/OffUiThread.h"

#include <QEventLoop>
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

}  // namespace corvane
