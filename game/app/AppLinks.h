// Where start-up meets parts of the program that join it later: the net skin, the
// owner-drawn theme, the skinned boxes and the wait boxes.
// Each call keeps its place and its failure result in start-up; the bodies here are the
// plain behaviour until those parts are linked in.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// ---- net skin, theme, boxes, music --------------------------------------------------
// TRUE with the skin folder when a net skin is active.
BOOL LoadNetSkin(const char* gameName, const char* skinName, char* folder, size_t size);
// The owner-drawn theme (odctrls/theme); FALSE ends start-up without a message.
BOOL LoadOwnerDrawnTheme(const char* path, int mode);
void UnloadOwnerDrawnTheme();
// A box with a string of the resource library (formatted with arg when given), an MB_ style
// and a countdown in seconds after which it closes by itself; returns the pressed button.
int ShowStartupBoxId(UINT stringId, UINT style, int countdownSeconds, const char* arg = nullptr);
int ShowStartupBoxText(const char* text, UINT style, int countdownSeconds);
// A server question: the text and, when answer is not null, a field for the typed answer.
int ShowStartupInputBox(const char* text, UINT style, int countdownSeconds, std::string* answer);
// The login's progress box with a string of the resource library; 0 takes it down.
void ShowStartupProgress(UINT stringId);
// A system line of the server (until the chat view exists: the game log).
void SystemTextLine(const char* line);
// The watcher's wait box with string 29916; destroyed by DestroyWatchWaitBox.
HWND CreateWatchWaitBox(HWND owner);
// The plain wait box (before the skin is up): a popup with the text of string 29916.
HWND CreatePlainWaitBox(HWND owner);
void DestroyWatchWaitBox(HWND box);

// ---- start-up trace ------------------------------------------------------------------------
// Appends "<step> <name>: <ms> ms\t<unix ms>" to the file named by VESK_STARTUP_TRACE, when
// that is set, so a test can see how far start-up went and in which order, and a benchmark
// where the time went: milliseconds since the process was created, then the wall clock.
void TraceStartupStep(int step, const char* name);
// A moment after the steps ("= <name>: ..."), e.g. the table first on the screen.
void TraceStartupMoment(const char* name);
