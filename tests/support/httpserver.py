"""http.server for the tests: serves a folder on a free 127.0.0.1 port, printed
on the first line of standard output. "/redirect?to=PATH" answers 302 to PATH.
"/check?uri=ADDRESS" plays a validation service back: it notes the address (as it
arrived, decoded once) in checks.log and answers with the recorded reply
replies/NAME, NAME being the last name of the address's path, decoded; an empty
page when there is none."""
import argparse
import functools
import http.server
import os
import sys
import urllib.parse


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/redirect":
            target = urllib.parse.parse_qs(url.query).get("to", ["/"])[0]
            self.send_response(302)
            self.send_header("Location", target)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if url.path == "/check":
            self.play_reply(urllib.parse.parse_qs(url.query).get("uri", [""])[0])
            return
        super().do_GET()

    def play_reply(self, address):
        root = self.directory
        with open(os.path.join(root, "checks.log"), "a", encoding="utf-8") as log:
            log.write(address + "\n")
        name = urllib.parse.unquote(urllib.parse.urlsplit(address).path.rsplit("/", 1)[-1])
        body = b""
        reply = os.path.join(root, "replies", name)
        if name and os.path.isfile(reply):
            with open(reply, "rb") as recorded:
                body = recorded.read()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=UTF-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    handler = functools.partial(Handler, directory=args.root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
