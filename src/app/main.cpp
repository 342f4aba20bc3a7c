// corvane: the operator's desktop application.
#include "gui/app/Application.h"

int main(int argc, char** argv) { return corvane::RunApplication(argc, argv); }
