// An operator's acknowledgement of an alarm, held in Alertmanager as a
// silence of exactly the alarm's labels. The desk marks its silences by a
// comment prefix, so that at a restart it takes back its own, whoever
// created them, and never one made by hand (amtool's or the web UI's),
// which it only shows.
#ifndef T740_ALERTER_DESK_ACKNOWLEDGEMENT_H
#define T740_ALERTER_DESK_ACKNOWLEDGEMENT_H

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/desk/alarm_labels.h"
#include "alerter/desk/silence.h"

namespace t740::alerter {

// Before the operator's comment in each of the desk's silences.
constexpr char kDeskCommentPrefix[] = "[t740 desk] ";
// How long a silence lasts; the desk renews it well before it ends, for as
// long as the alarm stands acknowledged.
constexpr auto kAcknowledgementLife = std::chrono::hours(24 * 30);
constexpr auto kAcknowledgementRenewal = std::chrono::hours(24 * 7);

// One Alertmanager's silence of an acknowledgement.
struct PlacedSilence {
  AlertmanagerUrl alertmanager;
  std::string id;
};

struct Acknowledgement {
  Labels labels;
  std::string who;
  std::string comment;  // the operator's, without the prefix
  std::chrono::system_clock::time_point at;
  std::chrono::system_clock::time_point endsAt;  // its silences'
  std::vector<PlacedSilence> silences;
};

// The silence that holds it: every label an equal matcher, from `now` to
// its end.
Silence SilenceOfAcknowledgement(const Acknowledgement& acknowledgement);
// The acknowledgement an active silence of the desk's holds (its silences
// left empty); nothing for any other silence.
std::optional<Acknowledgement> AcknowledgementOfSilence(const Silence& silence);

}  // namespace t740::alerter

#endif
