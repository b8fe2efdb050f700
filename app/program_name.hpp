#pragma once
#include <QString>

// The window caption and the title of every message box.
inline const QString kProgramName = QStringLiteral("Beugungsbilder");
