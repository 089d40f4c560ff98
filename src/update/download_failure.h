#pragma once

#include <QString>

// Why a download failed, in words for the people who read it: from libcurl's result code and the
// HTTP status of the answer (0 when none arrived). libcurl's own wording ("transfer closed with
// 100000 bytes remaining to read") stays out of it; the dialog keeps that for its hint. secure
// says that only https addresses were allowed.
QString DownloadFailureText(int curlCode, long httpStatus, bool secure);
