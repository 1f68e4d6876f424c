#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillet {

// Runs a tool (xdotool, wtype, swaymsg) to its end, at most 30 s, while the
// test's windows go on handling events, as they must for the tool's keys
// and clicks to reach them. What it printed; nothing when it failed.
std::optional<QByteArray> runHandlingEvents(const QString& program, const QStringList& arguments);

}  // namespace quillet
