#pragma once

#include "SetupText.h"

#include <QString>

#include <optional>

namespace pwm20 {

// A setup file's table, or nothing with `error` saying in one line what is wrong and where:
// "FILE: [channel5] min: …". A file that cannot be used is refused whole; `text`, when given,
// gets what could be read of it all the same.
std::optional<ChannelTable> loadSetupFile(const QString &path, QString &error,
                                          QByteArray *text = nullptr);

// Replaces the file only once the whole setup is written.
bool saveSetupFile(const QString &path, const ChannelTable &table, QString &error);

// What is wrong, after the file's name: "[channel5] min: …".
QString setupErrorText(const SetupError &error);

// The table as `--check` prints it: one line for each channel, with its speed and acceleration
// limits where it has them.
QString describeSetup(const ChannelTable &table);

} // namespace pwm20
