// The redirect-printing log: one plain-text file per process, opened when a job's redirect
// printing starts and closed when it finishes. Each line is "[MM/DD/YYYY hh:mm:ss] ", the
// message and CR LF. While the log is closed, messages are dropped.
#pragma once

// Reads "Enable Redirect Printing Log" and "Redirect Printing Log File" of the redirect settings
// key and opens the file without sharing, appending. 1 when it was opened, and also when the
// log is switched off ("no" in any letter case) or its switch is missing; 0 when the key, the
// file name or the file cannot be had.
int OpenLogFile(const char* szRedirectSettingsPath);

// Formats one line, printf-style; a message longer than 511 characters is cut to them.
void WriteRedirectLog(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));

void CloseLogFile();
