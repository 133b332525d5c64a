#!/usr/bin/python3
"""Mail server for the tests: SMTP with implicit TLS and AUTH, as a mail provider runs it.

usage: smtp_server.py FOLDER USER PASSWORD

Makes a certificate for "localhost" (FOLDER/cert.pem), listens on 127.0.0.1 and prints
"PORT n" once it accepts connections. Each mail it accepts is stored as FOLDER/n.eml and
read back with Python's email package into FOLDER/n.json: envelope, login, headers as
decoded, the text body and each attachment (name, type, content) in base64.
It runs until its standard input closes.
"""
import base64
import email
import email.policy
import json
import os
import socket
import ssl
import subprocess
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")
folder, user, password = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                "-days", "2", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"],
               check=True, capture_output=True)


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == user and auth_data.password == password
    # A refusal is answered by the server itself (535).
    return AuthResult(success=ok, handled=False, auth_data=auth_data.login.decode() if ok else None)


def b64(data):
    return base64.b64encode(data or b"").decode()


class Store:
    count = 0

    async def handle_DATA(self, server, session, envelope):
        Store.count += 1
        raw = envelope.original_content or envelope.content
        with open(os.path.join(folder, f"{Store.count}.eml"), "wb") as f:
            f.write(raw)
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        body, charset, attachments = None, None, []
        for part in (msg.walk() if msg.is_multipart() else [msg]):
            if part.is_multipart():
                continue
            if part.get_content_disposition() == "attachment":
                attachments.append({"filename": part.get_filename(), "type": part.get_content_type(),
                                    "content": b64(part.get_payload(decode=True))})
            elif body is None and part.get_content_type() == "text/plain":
                body, charset = part.get_payload(decode=True), part.get_content_charset()
        summary = {"login": session.auth_data, "mailFrom": envelope.mail_from, "rcptTos": envelope.rcpt_tos,
                   "from": str(msg["From"]), "to": str(msg["To"]), "replyTo": str(msg["Reply-To"] or ""),
                   "subject": str(msg["Subject"]),
                   "date": str(msg["Date"]), "messageId": str(msg["Message-ID"]),
                   "mimeVersion": str(msg["MIME-Version"]), "body": b64(body), "charset": charset,
                   "attachments": attachments}
        path = os.path.join(folder, f"{Store.count}.json")
        with open(path + ".part", "w") as f:
            json.dump(summary, f)
        os.rename(path + ".part", path)
        return "250 OK"


with socket.socket() as probe:
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
controller = Controller(Store(), hostname="127.0.0.1", port=port, ssl_context=context,
                        authenticator=authenticate, auth_required=True,
                        # The whole connection is TLS; the server only knows TLS begun by STARTTLS.
                        auth_require_tls=False)
controller.start()
print(f"PORT {port}", flush=True)
sys.stdin.read()
controller.stop()
