// A Dealer's and a table server's words travel in English, as the protocol
// has them. This table gives the window those texts in its own language; a
// text it does not know is shown as it came. (The table's own events are
// worded by TableWords.)
#pragma once

#include <QString>
#include <string>

namespace zarv::ui {

QString FromEngine(const std::string& english);
QString FromEngine(const QString& english);

} // namespace zarv::ui
