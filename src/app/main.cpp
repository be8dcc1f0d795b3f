// Program entry: sets the application title, builds the main window and the
// hidden My Calendar settings window, and runs the event loop.
#include "app/application.h"

int main(int argc, char** argv) { return mekuri::runApplication(argc, argv); }
