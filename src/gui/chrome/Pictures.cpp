#include "gui/chrome/Pictures.h"

#include <QString>

// The resources live in a static library: nothing would pull them into the
// program unless they are initialised by name.
static void InitialisePictureResources() { Q_INIT_RESOURCE(pictures); }

namespace corvane {
namespace {

struct PictureFile {
  const char* path;
  QSize size;
};

PictureFile FileOf(Picture picture) {
  switch (picture) {
    case Picture::HelpBox: return {":/pictures/help.png", {125, 125}};
    case Picture::QuestionMark: return {":/pictures/question.png", {30, 30}};
    case Picture::Logo: return {":/pictures/logo.png", {119, 35}};
    case Picture::Login: return {":/pictures/login.png", {210, 208}};
    case Picture::Home: return {":/pictures/home.png", {215, 150}};
    case Picture::Settings: return {":/pictures/password.png", {210, 196}};
    case Picture::Application: return {":/pictures/application.png", {64, 64}};
  }
  return {"", {}};
}

}  // namespace

QSize PictureSize(Picture picture) { return FileOf(picture).size; }

QPixmap LoadPicture(Picture picture) {
  static const bool initialised = (InitialisePictureResources(), true);
  (void)initialised;
  return QPixmap(QString::fromLatin1(FileOf(picture).path));
}

}  // namespace corvane
