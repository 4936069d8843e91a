#pragma once

/// @file
/// The interactive host services a host application sets: how a question of
/// the plug-in is answered, how the data-link dialog gives an initialisation
/// string, and how a report (a text file for the user) is shown. They live in
/// the host-services library (link `-lhostservices`, or the CMake target
/// `CTraxDBPartLib::hostservices`), which the plug-in calls for every
/// message box, dialog and report.
///
/// The plug-in asks only three questions, and only when the host has switched
/// prompting on with `doPromptValidationMsg(true)` before `openPath`:
/// - "The database ... does not contain TRAXEL Part Library information ...
///   Do you wish to create the TRAXEL Part Library in this database?"
///   (caption "Warning"; Yes creates the schema),
/// - "The TRAXEL Parts Library Database ... is out of date ... Do you wish to
///   update it now?" (caption "Warning"; Yes upgrades it),
/// - after a failed creation or upgrade, "Do you wish to create an SQL script
///   ...?" (caption "Error"; Yes writes the script and shows it through the
///   report viewer).
/// Other message boxes (style without MB_YESNO) are notices; their answer is
/// ignored.
///
/// Everything here is process-wide and is meant to be set once, before the
/// first `openPath`, from the thread that uses the plug-in.

#include <string>

#ifndef HOSTSERVICES_API
#define HOSTSERVICES_API __attribute__((visibility("default")))
#endif

class CWnd;

extern "C++" {

/// Message box style bits the plug-in passes (`style` of HostCallbacks::messageBox).
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONQUESTION = 0x20;
/// Answers of a message box: IDYES (6) is the only answer taken as Yes.
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

/// The replaceable interactive services. Every member left at its default
/// keeps the terminal behaviour described beside it.
struct HostCallbacks {
    /// Answers a message box: `text` and `caption` as the plug-in words them,
    /// `style` its MB_ bits; returns IDYES for Yes, anything else for No.
    /// nullptr: the question is asked on the terminal when standard input is
    /// one, else `defaultAnswer` is given and the question is printed on
    /// standard error.
    int (*messageBox)(const char *text, const char *caption, unsigned style) = nullptr;
    /// The answer given to a question that could not be asked (no callback,
    /// no terminal). IDYES answers every question Yes without asking.
    int defaultAnswer = IDNO;
    /// Printed after a question that could not be asked: how the host lets
    /// the user answer it (partlib prints "--yes answers Yes").
    std::string unaskedHint;
    /// The data-link dialog of `selectSource` and `openPath(CWnd *)`: fills
    /// `out` with an initialisation string and returns true, or returns false
    /// when the user cancels (the open then fails with an empty message).
    /// nullptr: the string is asked for on the terminal.
    bool (*dataLinkPrompt)(std::string &out) = nullptr;
    /// The report viewer: shows the text file at `path` (the SQL script of a
    /// failed creation or upgrade) to the user; the file is deleted after the
    /// call returns. nullptr: the file is copied into `reportDirectory` (the
    /// current directory when empty) and where it was kept is printed on
    /// standard error.
    void (*reportViewer)(const char *path) = nullptr;
    /// Where reports are kept when there is no `reportViewer`.
    std::string reportDirectory;
};

/// The one table of callbacks of the process; set its members before the
/// first `openPath` or `selectSource`.
HOSTSERVICES_API HostCallbacks &hostCallbacks();

} // extern "C++"
