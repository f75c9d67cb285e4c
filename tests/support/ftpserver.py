"""A pyftpdlib server for the tests: one user with a password, a temporary root,
a free port on 127.0.0.1 printed on the first line of standard output."""
import argparse
import logging
import os
import stat
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class DosListingFS(AbstractedFS):
    """LIST lines as IIS writes them: the size right-aligned in 20 columns, or
    "<DIR>" padded to the same width, then one blank and the name as it is."""

    def format_list(self, basedir, listing, ignore_err=True):
        for basename in listing:
            try:
                st = self.lstat(os.path.join(basedir, basename))
            except OSError:
                if ignore_err:
                    continue
                raise
            stamp = time.strftime("%m-%d-%y  %I:%M%p", time.gmtime(st.st_mtime))
            if stat.S_ISDIR(st.st_mode):
                line = "%s       <DIR>          %s\r\n" % (stamp, basename)
            else:
                line = "%s %20d %s\r\n" % (stamp, st.st_size, basename)
            yield line.encode("utf8", self.cmd_channel.unicode_errors)


class HostileListingFS(AbstractedFS):
    """Every listing also names entries that would lead out of the folder: "../x"
    and "a/b", as a broken or malicious server may send them."""

    HOSTILE = ("../x", "a/b")

    def format_list(self, basedir, listing, ignore_err=True):
        yield from super().format_list(basedir, listing, ignore_err)
        for name in self.HOSTILE:
            line = "-rw-r--r--   1 owner    group           3 May 06  2025 %s\r\n" % name
            yield line.encode("utf8")

    def format_mlsx(self, basedir, listing, perms, facts, ignore_err=True):
        yield from super().format_mlsx(basedir, listing, perms, facts, ignore_err)
        for name in self.HOSTILE:
            yield ("type=file;size=3;modify=20250506070810; %s\r\n" % name).encode("utf8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="user")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--perm", default="elradfmwMT")
    parser.add_argument("--throttle", type=int, default=0, help="bytes per second")
    parser.add_argument("--no-mlsd", action="store_true", help="offer LIST only")
    parser.add_argument("--commands", help="file that gets every command received")
    parser.add_argument("--dos-list", action="store_true",
                        help="LIST in the DOS style of IIS")
    parser.add_argument("--hostile", action="store_true",
                        help="listings also name ../x and a/b")
    parser.add_argument("--no-mdtm", action="store_true",
                        help="no MDTM: LIST times are all there is")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
    command_log = open(args.commands, "a", buffering=1) if args.commands else None

    class Handler(FTPHandler):
        # Names the file system holds in bytes that are not UTF-8 travel as those bytes.
        unicode_errors = "surrogateescape"
        # A refused login is answered at once, not after the usual pause.
        auth_failed_timeout = 0

        def pre_process_command(self, line, cmd, arg):
            if command_log:
                command_log.write(cmd + "\n")
            return super().pre_process_command(line, cmd, arg)

    Handler.authorizer = authorizer
    if args.dos_list:
        Handler.abstracted_fs = DosListingFS
    if args.hostile:
        Handler.abstracted_fs = HostileListingFS
    dropped = set()
    if args.no_mlsd:
        dropped |= {"MLSD", "MLST"}
    if args.no_mdtm:
        dropped.add("MDTM")
    if dropped:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items()
                              if k not in dropped}
    if args.throttle:
        class Throttled(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        Handler.dtp_handler = Throttled

    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    server = FTPServer(("127.0.0.1", 0), Handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
