// The one way progress text leaves the conversion jobs. The front end decides
// where it goes: the dialog's log box, or standard output for the command line.
#pragma once

typedef void (*LogSink)(const char* text);

// Routes every later appendToLog to sink (nullptr drops the text).
void setLogSink(LogSink sink);

// Hands a NUL-terminated text in the system code page to the current sink.
void appendToLog(const char* text);
