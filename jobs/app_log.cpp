#include "jobs/app_log.h"

// Where appendToLog sends its text; set by the front end at start.
static LogSink currentSink = nullptr;

void setLogSink(LogSink sink)
{
    currentSink = sink;
}

void appendToLog(const char* text)
{
    if (currentSink && text)
        currentSink(text);
}
