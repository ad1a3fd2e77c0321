// The words of a Dealer, a table server and the network layer in the
// window's language: each notice by its code, and the few words of the
// original protocol (the two sides). Words no program of ours sends are
// shown as they came. (The table's own events are worded by TableWords.)
#pragma once

#include <QString>
#include <string>

#include "net/notice.h"

namespace zarv::ui {

QString NoticeInWords(const net::NoticeText& notice);
QString NoticeInWords(net::Notice code);
// Words that arrived without a code: recognised, or shown as they came.
QString FromWire(const std::string& words);
// "Partner" or "Against", as a Dealer names a side.
QString SideInWords(const std::string& side);
// "Ann joined.  (Partner)"
QString JoinedInWords(const QString& name, const std::string& side);

} // namespace zarv::ui
