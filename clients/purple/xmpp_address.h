// Reads an XMPP address as a user types it (name@server, maybe with a /resource) into the bare
// address a contact list holds, or says why the text is no address: before anything is asked of
// the messaging client, so that no dialog opens for text the server could never take.
#pragma once

#include <string>
#include <string_view>

namespace plumwick::purple {

struct XmppAddress {
  // name@server, the resource dropped; empty when the text is no address.
  std::string bare;
  // Why the text is no address, naming the character ("at the 4th character, a space ..."); empty
  // when it is one.
  std::string problem;
};

// Spaces around the text are not part of it. Case is left as typed: the protocol's own
// normalisation (Pidgin's) folds it.
XmppAddress ReadXmppAddress(std::string_view typed);

}  // namespace plumwick::purple
