// The game and the network protocol speak English (the engine knows no Qt,
// and a Dealer's words travel as the protocol has them). This table gives the
// window those texts in its own language; a text it does not know is shown
// as it came.
#pragma once

#include <QString>
#include <string>

namespace zarv::ui {

QString FromEngine(const std::string& english);
QString FromEngine(const QString& english);

} // namespace zarv::ui
