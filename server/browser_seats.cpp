#include "server/browser_seats.h"

#include "server/web_link.h"

#include <algorithm>

#include "engine/game.h"
#include "net/notice.h"
#include "net/wire.h"

namespace zarv::server {

using nlohmann::json;

json NewsMessage(const TableEvent& e) {
    using K = TableEvent::Kind;
    static const std::map<K, const char*> kinds = {
        {K::HakemNamed, "hakem"},     {K::ChoosingTrump, "choosingTrump"}, {K::HandWon, "handWon"},
        {K::PlayerBack, "back"},      {K::SeatReplaced, "replaced"},       {K::PlayerLeftGameOver, "leftGameOver"},
        {K::Words, "words"}};
    const auto kind = kinds.find(e.kind);
    if (kind == kinds.end()) return json();
    json news = {{"t", "news"}, {"kind", kind->second}, {"seat", e.seat}, {"name", e.name}};
    if (e.kind == K::HandWon) {
        news["partner"] = e.partner;
        news["points"] = e.points;
        news["firstSide"] = e.byFirstSide;
    }
    if (e.kind == K::Words) news["words"] = e.words;
    return news;
}

void BrowserSeats::AddWatcher(int connection) {
    Browser& b = browsers_[connection];
    b.watcher = true;
    SendHistory(connection, b);
}

bool BrowserSeats::TakeAgainAsked() {
    const bool asked = againAsked_;
    againAsked_ = false;
    return asked;
}

void BrowserSeats::FromDealer(int connection, std::string_view bytes) {
    const auto it = browsers_.find(connection);
    if (it == browsers_.end()) return;
    for (const net::Piece& piece : it->second.framer.Feed(bytes)) {
        // A handler may forget the browser on the way.
        const auto still = browsers_.find(connection);
        if (still == browsers_.end()) return;
        HandleDealerText(connection, still->second, piece);
    }
}

void BrowserSeats::HandleDealerText(int connection, Browser& b, const net::Piece& p) {
    auto answer = [this, connection](std::string text) {
        links_.later([this, connection, t = std::move(text)] {
            if (Has(connection)) links_.deliver(connection, t);
        });
    };
    if (p.command == "Join") {
        if (p.detail.size() >= 2 && p.detail[0] != '3') return answer(net::Message("Recived", net::kExtensionAck));
        const net::NoticeText why = net::RecognizeNotice(p.detail.size() > 2 ? p.detail.substr(2) : std::string());
        links_.send(connection, Dumped(json{{"t", "no"}, {"notice", static_cast<int>(why.code)}, {"words", why.words}}));
    } else if (p.command == "Hello") {
        links_.send(connection, Dumped(json{{"t", "token"}, {"token", p.detail}, {"seat", links_.seatOf(connection)}}));
        SendHistory(connection, b);
    } else if (p.command == "HandIs") {
        answer(net::Message("Recived", "HandIs"));
    } else if (p.command == "Table") {
        // Back at its seat: the whole view again, and what was said meanwhile.
        b.lastView.clear();
        b.historySent = false;
        SendHistory(connection, b);
    } else if (p.command == "Chat") {
        const auto chat = net::ParseSeatText(p.detail);
        if (chat) links_.send(connection, Dumped(json{{"t", "chat"}, {"seat", chat->seat}, {"text", net::TextFromWire(chat->text)}}));
    } else if (p.command == "Closing") {
        const net::NoticeText why = net::ParseNoticeDetail(p.detail);
        links_.send(connection, Dumped(json{{"t", "closing"}, {"notice", static_cast<int>(why.code)}, {"words", why.words}}));
    }
    // The rest (the deal, the moves, the seats) the browser learns from its view.
}

void BrowserSeats::FromBrowser(int connection, const std::string& text) {
    const auto it = browsers_.find(connection);
    if (it == browsers_.end() || it->second.watcher) return;
    Browser& b = it->second;
    const net::Piece p = net::SplitPiece(std::string_view(text).substr(0, text.rfind('|')));
    if (p.command == "Connect" || p.command == "Return") return links_.deliver(connection, text);
    if (p.command == "WebPlay") return Play(connection, b, p.detail);
    if (p.command == "WebTrump") return NameTrump(connection, b, p.detail);
    if (p.command == "WebChat") return SayChat(connection, p.detail);
    if (p.command == "WebHint") return Hint(connection);
    if (p.command == "WebReview") return Review(connection);
    if (p.command == "WebAgain") againAsked_ = true;
}

void BrowserSeats::Refuse(int connection, const std::string& reason, const std::string& extra) {
    json refusal = {{"t", "refused"}, {"reason", reason}};
    if (!extra.empty()) refusal["suit"] = extra;
    links_.send(connection, Dumped(refusal));
}

void BrowserSeats::Play(int connection, Browser& b, const std::string& detail) {
    const int seat = links_.seatOf(connection);
    const auto card = CardCode::Parse(detail);
    if (!card) return Refuse(connection, "noSuchCard");
    if (seat == 0 || s_.WaitingForSeat != seat || b.moveSent) return Refuse(connection, "notYourTurn");
    if (s_.Trump == kNoSuit) return Refuse(connection, "trumpFirst");
    const std::vector<CardCode> held = HeldCards(s_, seat);
    if (std::find(held.begin(), held.end(), *card) == held.end()) return Refuse(connection, "notInHand");
    if (!IsLegalCardOf(s_, seat, *card)) return Refuse(connection, "follow", std::string(1, s_.LedSuit()));
    b.moveSent = true;
    links_.deliver(connection, net::Message("IMove" + std::to_string(seat), card->text()));
}

void BrowserSeats::NameTrump(int connection, Browser& b, const std::string& detail) {
    const int seat = links_.seatOf(connection);
    if (seat == 0 || s_.WaitingForSeat != seat || b.moveSent || s_.MasterPlayer != seat || s_.Trump != kNoSuit)
        return Refuse(connection, "notYourTurn");
    // The HAKEM names the suit of one of the cards in his hand.
    const std::vector<CardCode> held = HeldCards(s_, seat);
    const bool held_suit = detail.size() == 1 && std::any_of(held.begin(), held.end(), [&](CardCode c) { return c.suit == detail[0]; });
    if (!held_suit) return Refuse(connection, "noSuchSuit");
    b.moveSent = true;
    links_.deliver(connection, net::Message("MasterCardIs", detail));
}

void BrowserSeats::Hint(int connection) {
    const int seat = links_.seatOf(connection);
    if (!facts_.playNow || seat == 0 || s_.WaitingForSeat != seat || s_.Trump == kNoSuit) return Refuse(connection, "noHint");
    const CardCode card = links_.suggest(seat);
    if (card.empty()) return Refuse(connection, "noHint");
    links_.send(connection, Dumped(json{{"t", "hint"}, {"card", card.text()}}));
}

void BrowserSeats::Review(int connection) {
    const int seat = links_.seatOf(connection);
    const std::string refused = seat == 0 || !links_.review ? std::string("noReview") : links_.review(connection, seat);
    if (!refused.empty()) Refuse(connection, refused);
}

void BrowserSeats::SayChat(int connection, const std::string& given) {
    const int seat = links_.seatOf(connection);
    // As any chat line: no "|" (it would end the message), at most the chat's length.
    std::string text = given.substr(0, given.find('|'));
    if (seat == 0 || text.empty()) return;
    // The session passes it on to every other connection; the sender hears it back here.
    links_.deliver(connection, net::Message("Chat", std::to_string(seat) + ";" + text));
    links_.send(connection, Dumped(json{{"t", "chat"}, {"seat", seat}, {"text", text}}));
}

void BrowserSeats::Chat(int seat, const std::string& text) {
    json line = {{"t", "chat"}, {"seat", seat}, {"text", text}};
    // Players hear it from the session; watchers from here.
    for (const auto& [connection, b] : browsers_)
        if (b.watcher) links_.send(connection, Dumped(line));
    Keep(std::move(line));
}

void BrowserSeats::News(const TableEvent& event) {
    json news = NewsMessage(event);
    if (news.is_null()) return;
    ToAll(news);
    Keep(std::move(news));
}

void BrowserSeats::Keep(json line) {
    line["old"] = true;
    history_.push_back(std::move(line));
    if (history_.size() > kChatKept) history_.pop_front();
}

void BrowserSeats::SendHistory(int connection, Browser& b) {
    if (b.historySent) return;
    b.historySent = true;
    for (const json& line : history_) links_.send(connection, Dumped(line));
}

void BrowserSeats::ToAll(const json& message) {
    const std::string text = Dumped(message);
    for (const auto& [connection, b] : browsers_) links_.send(connection, text);
}

void BrowserSeats::Refresh(const TableFacts& facts) {
    facts_ = facts;
    for (auto& [connection, b] : browsers_) {
        const int seat = links_.seatOf(connection);
        if (seat == 0 && !b.watcher) continue;  // not seated yet
        if (s_.WaitingForSeat != seat) b.moveSent = false;
        json view = SeatView(s_, seat, facts);
        json key = view;
        key.erase("secondsLeft");
        std::string keyText = Dumped(key);
        if (keyText == b.lastView) continue;
        b.lastView = std::move(keyText);
        links_.send(connection, Dumped(view));
    }
}

} // namespace zarv::server
