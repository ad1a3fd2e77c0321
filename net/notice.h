// What a Dealer, a table server or the network layer tells a person in words:
// refusals, answers and notices. Each has a code; our programs send the code
// with the words (once the other side has shown it knows codes), so that the
// window says it in the person's language. Words that come without a code
// (from a program of the original protocol, or an older one of ours) are
// recognised here, the one place where such sentences are read.
#pragma once

#include <string>

namespace zarv::net {

enum class Notice : int {
    Unknown = 0,  // words no program of ours sends: shown as they came
    // A Dealer's answers to joining (the original protocol's own words).
    TableFull = 1,
    PlayAsPartner = 2,
    PartnerTakenPlayAgainst = 3,
    PlayAgainst = 4,
    AgainstTakenPlayPartner = 5,
    // A Dealer of ours.
    DealerClosedTable = 6,
    NoGameToReturnTo = 7,
    SeatNotYours = 8,
    // A table server.
    TableClosed = 9,
    TableClosing = 10,
    ServerClosing = 11,
    NameAtAnotherTable = 12,  // with the name
    NotWatching = 13,
    PasswordsNeedTls = 14,
    BadTableSettings = 15,
    NoRoomForTable = 16,
    TooManyTables = 17,
    TableNameTaken = 18,
    NoSuchTable = 19,
    WatchingNotAllowed = 20,
    WrongPassword = 21,
    ChooseTableAndSeat = 22,
    TableIsPlaying = 23,
    SeatTaken = 24,
    ChooseTableToWatch = 25,
    OnlyMakerStarts = 26,
    TableAlreadyPlaying = 27,
    UnknownLobbyCommand = 28,  // with the command
    // An address a person typed (never on the wire).
    NoDealerName = 29,
    AddressLacksBracket = 30,     // with the address
    AddressNotBracketPort = 31,   // with the address
    AddressLacksPort = 32,        // with the address
    PortNotANumber = 33,          // with the port as typed
    // A table server, to one who chats too fast.
    SlowDown = 34,
    // An admin's sanctions, with the reason given.
    Banned = 35,
    Muted = 36,
    // Accounts.
    NameRegistered = 37,  // with the name
    WrongSignIn = 38,
    NameTaken = 39,       // with the name
    SignInTooOften = 40,
    SessionExpired = 41,
    AccountsUnavailable = 42,
    AccountRules = 43,
    SignInFirst = 44,
};
constexpr int kLastNotice = 44;

struct NoticeText {
    Notice code = Notice::Unknown;
    std::string name;   // the name, address or command it is about, if any
    std::string words;  // the English words, as they travel
};

// The English words of a notice, with its name.
std::string NoticeWords(Notice code, const std::string& name = std::string());
NoticeText MakeNotice(Notice code, const std::string& name = std::string());
// The notice that plain words are (Unknown when none).
NoticeText RecognizeNotice(const std::string& words);
// "<code>;<words>", as our programs send a notice to one that knows codes...
std::string NoticeDetail(const NoticeText& notice);
// ...and read back; plain words are recognised as they are.
NoticeText ParseNoticeDetail(const std::string& detail);

} // namespace zarv::net
