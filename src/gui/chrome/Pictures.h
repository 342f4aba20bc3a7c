#pragma once
// The pictures of the screens, built into the program.

#include <QPixmap>
#include <QSize>

namespace corvane {

enum class Picture {
  HelpBox,       // the help box, 125 x 125
  QuestionMark,  // beside "Need help?", 30 x 30
  Logo,          // lower left of every screen, 119 x 35
  Login,         // the login screen, 210 x 208
  Home,          // the home screen, 215 x 150
  Settings,      // change-password, sampling-rate and media security screens, 210 x 196
  Application,   // the windows' icon, 64 x 64
};

// The size each screen lays the picture out for.
QSize PictureSize(Picture picture);

// The picture; a null pixmap only if the program was built without it.
QPixmap LoadPicture(Picture picture);

}  // namespace corvane
