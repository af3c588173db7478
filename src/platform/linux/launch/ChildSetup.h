#pragma once
// What a program the application starts gets of it, whichever way it starts:
// the launcher for desktop entries and posix_spawn for executables both go by
// it. Plain C: the launcher is a C program.
#include <signal.h>

// The signals the application handles or ignores (SIGPIPE among them), which
// a program must get at their defaults.
static const int kSignalsResetForPrograms[] = { SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP };

// Names the launcher for GIO; the programs never see it.
static const char kLauncherVariable[] = "GIO_LAUNCH_DESKTOP";

// Marks every process of a launch's tree with what it was launched from (the
// item's path, as written): a program an item detached (setsid, a double
// fork) is still known as that item's.
static const char kLaunchMarkVariable[] = "LANTERNWICK_LAUNCHED_ITEM";
