#!/usr/bin/python3
"""A person on the other end for the end-to-end tests, over XMPP with slixmpp.

listen: signs in, shows itself (available, or with --show away, dnd, ...) and prints one line for
  each thing it receives, flushed at once so that a test reading the pipe sees it:
    ready
    presence <full jid> <available|unavailable|subscribe|...> <show or ->
    message <bare jid> <body as JSON>
roster: signs in as one of the account's resources without showing itself (so its contacts see
  nothing), prints "roster <jid>=<subscription> ..." as the server has the roster, and ends.
vcard: prints "vcard <field> <value as JSON>" for each field of another account's vCard, then
  "vcard-end", and ends.
set-vcard: publishes the account's own vCard from a JSON object of fields, prints "done", ends.
nick: prints "nick <text as JSON>" for the nickname another account published (its personal
  "nick" node, as the text stands in the XML), or nothing when it published none, then "nick-end",
  and ends.
crowd: signs in --jid and every address of --more (all with the one password) in this one
  process, each available, prints "ready" once all are, and stays until it is ended: hundreds of
  contacts online without hundreds of processes.

No TLS: the server listens on the loopback interface of a private network namespace only.
"""

import argparse
import asyncio
import json
import sys

import slixmpp
from slixmpp.exceptions import IqError
from slixmpp.xmlstream import ET


NICK_NODE = "http://jabber.org/protocol/nick"


def say(*words):
    print(" ".join(words), flush=True)


class Peer(slixmpp.ClientXMPP):
    def __init__(self, args):
        super().__init__(args.jid, args.password)
        self.args = args
        self.outcome = 0
        self.register_plugin("xep_0030")
        self.register_plugin("xep_0054")
        self.register_plugin("xep_0060")
        self.register_plugin("xep_0199")
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("failed_auth", self.failed)
        # The account's roster is seeded with mutual subscriptions: nothing is to be approved.
        self.roster.auto_authorize = False
        self.roster.auto_subscribe = False

    def failed(self, _event):
        say("error", "authentication failed")
        self.outcome = 1
        self.disconnect()

    async def start(self, _event):
        try:
            await getattr(self, "do_" + self.args.command.replace("-", "_"))()
        except Exception as error:  # the test reads the reason from the output
            say("error", json.dumps(repr(error)))
            self.outcome = 1
            self.disconnect()

    async def do_listen(self):
        self.add_event_handler("presence", self.on_presence)
        self.add_event_handler("message", self.on_message)
        await self.get_roster()
        if self.args.show:
            self.send_presence(pshow=self.args.show)
        else:
            self.send_presence()
        say("ready")

    def on_presence(self, presence):
        kind = presence["type"]
        if kind in ("chat", "away", "xa", "dnd", ""):
            kind = "available"
        show = presence["show"] or "-"
        say("presence", str(presence["from"]), kind, show)

    def on_message(self, message):
        if message["type"] in ("chat", "normal") and message["body"]:
            say("message", message["from"].bare, json.dumps(message["body"], ensure_ascii=False))

    async def do_roster(self):
        result = await self.get_roster()
        items = result["roster"]["items"]
        listed = sorted("%s=%s" % (jid, item["subscription"]) for jid, item in items.items())
        say("roster", *listed)
        self.disconnect()

    async def do_vcard(self):
        result = await self["xep_0054"].get_vcard(jid=self.args.of, cached=False)
        card = result["vcard_temp"]
        for child in card.xml:
            if child.text and child.text.strip():
                say("vcard", child.tag.split("}")[-1], json.dumps(child.text, ensure_ascii=False))
        say("vcard-end")
        self.disconnect()

    async def do_nick(self):
        try:
            result = await self["xep_0060"].get_items(self.args.of, NICK_NODE)
        except IqError as error:
            if error.condition != "item-not-found":
                raise
            result = None
        if result is not None:
            for item in result["pubsub"]["items"]:
                for nick in item.xml.iter("{%s}nick" % NICK_NODE):
                    say("nick", json.dumps(nick.text or "", ensure_ascii=False))
        say("nick-end")
        self.disconnect()

    async def do_set_vcard(self):
        card = self["xep_0054"].stanza.VCardTemp()
        for name, value in json.loads(self.args.fields).items():
            element = ET.Element("{vcard-temp}" + name)
            element.text = value
            card.xml.append(element)
        await self["xep_0054"].publish_vcard(card)
        say("done")
        self.disconnect()


def run_crowd(args):
    loop = asyncio.get_event_loop()
    jids = [args.jid] + (args.more or [])
    signed_in = set()
    done = loop.create_future()

    def make(jid):
        peer = slixmpp.ClientXMPP(jid, args.password)
        peer["feature_mechanisms"].unencrypted_plain = True

        async def start(_event):
            await peer.get_roster()
            peer.send_presence()
            signed_in.add(jid)
            if len(signed_in) == len(jids) and not done.done():
                done.set_result(True)

        def failed(_event):
            if not done.done():
                done.set_exception(RuntimeError("authentication failed for " + jid))

        peer.add_event_handler("session_start", start)
        peer.add_event_handler("failed_auth", failed)
        peer.connect(address=(args.host, args.port), force_starttls=False, disable_starttls=True)
        return peer

    peers = [make(jid) for jid in jids]
    try:
        loop.run_until_complete(done)
    except Exception as error:  # the test reads the reason from the output
        say("error", json.dumps(repr(error)))
        sys.exit(1)
    say("ready")
    loop.run_forever()
    del peers


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("command", choices=["listen", "roster", "vcard", "nick", "set-vcard", "crowd"])
    parser.add_argument("--jid", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=5222)
    parser.add_argument("--of", help="whose vCard or nickname to read")
    parser.add_argument("--fields", help="the vCard to publish, as a JSON object")
    parser.add_argument("--show", help="the presence to show while listening: away, dnd, ...")
    parser.add_argument("--more", nargs="*", help="crowd: the other addresses to sign in")
    args = parser.parse_args()
    if args.command == "crowd":
        run_crowd(args)
        return

    peer = Peer(args)
    peer["feature_mechanisms"].unencrypted_plain = True
    peer.connect(address=(args.host, args.port), force_starttls=False, disable_starttls=True)
    peer.process(forever=False)
    sys.exit(peer.outcome)


if __name__ == "__main__":
    main()
