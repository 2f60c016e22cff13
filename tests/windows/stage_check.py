#!/usr/bin/env python3
"""Drives the Stage Remote of a running DeskPanel as a paired phone would, with nothing but
Python's standard library, so it checks the Windows program from the Linux side of Wine:
the page is served, a WebSocket at /live opens with the device's cookie, the whole state
arrives, and a +3 dB step on channel 5 comes back as that channel's new gain. A WebSocket
without the cookie must be refused.

usage: stage_check.py URL TOKEN    (URL: http://127.0.0.1:8480 or https://...)
Prints one line per check; exits 0 when all passed."""

import base64
import json
import os
import socket
import ssl
import struct
import sys
import time
import urllib.parse

TIMEOUT_S = 10


def connect(url):
    parts = urllib.parse.urlsplit(url)
    raw = socket.create_connection((parts.hostname, parts.port), timeout=TIMEOUT_S)
    if parts.scheme == "https":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE  # the show's own self-signed certificate
        raw = context.wrap_socket(raw, server_hostname=parts.hostname)
    return raw, f"{parts.hostname}:{parts.port}"


def read_head(sock):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(4096)
        if not chunk:
            break
        data += chunk
    head, _, rest = data.partition(b"\r\n\r\n")
    return head.decode("latin-1"), rest


def get_page(url):
    sock, host = connect(url)
    sock.sendall(f"GET / HTTP/1.1\r\nHost: {host}\r\nConnection: close\r\n\r\n".encode())
    head, body = read_head(sock)
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    sock.close()
    return head.split("\r\n")[0], body


class Live:
    """One page's WebSocket at /live; `status` is the answer's first line."""

    def __init__(self, url, token):
        self.sock, host = connect(url)
        scheme = urllib.parse.urlsplit(url).scheme
        key = base64.b64encode(os.urandom(16)).decode()
        cookie = f"Cookie: deskpanel_token={token}\r\n" if token else ""
        self.sock.sendall(
            (f"GET /live HTTP/1.1\r\nHost: {host}\r\nOrigin: {scheme}://{host}\r\n"
             f"Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
             f"Sec-WebSocket-Version: 13\r\n{cookie}\r\n").encode())
        head, self.buffer = read_head(self.sock)
        self.status = head.split("\r\n")[0]

    def send(self, address, values):
        payload = json.dumps({"a": address, "v": values}).encode()
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        length = len(payload)
        header = bytes([0x81, 0x80 | length]) if length < 126 else bytes([0x81, 0xFE]) + struct.pack("!H", length)
        self.sock.sendall(header + mask + masked)

    def _take(self, count):
        while len(self.buffer) < count:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise ConnectionError("closed")
            self.buffer += chunk
        data, self.buffer = self.buffer[:count], self.buffer[count:]
        return data

    def message(self):
        """The next text message as JSON, or None when the server closed."""
        while True:
            first, second = self._take(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack("!H", self._take(2))[0]
            elif length == 127:
                length = struct.unpack("!Q", self._take(8))[0]
            payload = self._take(length)
            opcode = first & 0x0F
            if opcode == 0x8:
                return None
            if opcode == 0x1:
                return json.loads(payload)

    def gain_of(self, channel, deadline):
        address = f"/deskpanel/ch/{channel}/gain"
        while time.monotonic() < deadline:
            message = self.message()
            if message is None:
                return None
            if message.get("a") == address:
                return message["v"][0]
        return None


def main():
    url, token = sys.argv[1].rstrip("/"), sys.argv[2]
    failures = 0

    def check(ok, text):
        nonlocal failures
        print(("PASS " if ok else "FAIL ") + text)
        failures += 0 if ok else 1

    status, body = get_page(url)
    check(status.endswith("200 OK") and b"<html" in body.lower(), f"the page is served ({status})")

    live = Live(url, token)
    check(live.status.startswith("HTTP/1.1 101"), f"a paired device's WebSocket opens ({live.status})")
    if live.status.startswith("HTTP/1.1 101"):
        before = live.gain_of(5, time.monotonic() + TIMEOUT_S)
        check(before is not None, f"the whole state arrives (channel 5 at {before} dB)")
        if before is not None:
            sent = time.monotonic()
            live.send("/deskpanel/ch/5/gain/step", [3])
            after = live.gain_of(5, sent + TIMEOUT_S)
            check(after == min(before + 3, 80),
                  f"+3 dB on channel 5 comes back as {after} dB in {1000 * (time.monotonic() - sent):.0f} ms")
    live.sock.close()

    stranger = Live(url, "")
    refused = not stranger.status.startswith("HTTP/1.1 101")
    check(refused, f"a WebSocket without a paired device is refused ({stranger.status})")
    stranger.sock.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
