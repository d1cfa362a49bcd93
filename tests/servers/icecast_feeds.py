#!/usr/bin/env python3
"""A real Icecast server on 127.0.0.1, fed a generated tone in MP3 and in
Ogg by ezstream, for the check of the streams. Prints "port N" once both
mounts play; stops its children when it is stopped.

  /tone.mp3, /tone.ogg   live mounts;  any other mount: Icecast's own 404
Usage: icecast_feeds.py STATE_DIR
"""
import math
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import time
import urllib.request
import wave

PASSWORD = "ondaria-source"
TONE_HERTZ = 440
TONE_SECONDS = 4
RATE = 22050
START_SECONDS = 30
MOUNTS = (("/tone.mp3", "MP3", "tone.mp3"), ("/tone.ogg", "Ogg", "tone.ogg"))

ICECAST_CONFIG = """<icecast>
  <limits><sources>4</sources><clients>64</clients></limits>
  <authentication>
    <source-password>{password}</source-password>
    <admin-user>admin</admin-user><admin-password>{password}</admin-password>
  </authentication>
  <hostname>127.0.0.1</hostname>
  <listen-socket><port>{port}</port><bind-address>127.0.0.1</bind-address></listen-socket>
  <paths>
    <basedir>/usr/share/icecast2</basedir><webroot>/usr/share/icecast2/web</webroot>
    <adminroot>/usr/share/icecast2/admin</adminroot><logdir>{state}</logdir><pidfile>{state}/icecast.pid</pidfile>
  </paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
  <security><chroot>0</chroot>{owner}</security>
</icecast>
"""

EZSTREAM_CONFIG = """<ezstream>
  <servers><server><hostname>127.0.0.1</hostname><port>{port}</port><password>{password}</password></server></servers>
  <streams><stream><mountpoint>{mount}</mountpoint><format>{format}</format></stream></streams>
  <intakes><intake><type>file</type><filename>{file}</filename></intake></intakes>
</ezstream>
"""


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def write_tone(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        frames = bytearray()
        for k in range(RATE * TONE_SECONDS):
            frames += struct.pack("<h", int(12000 * math.sin(2 * math.pi * TONE_HERTZ * k / RATE)))
        out.writeframes(bytes(frames))


def mount_plays(port, mount):
    try:
        with urllib.request.urlopen("http://127.0.0.1:%d%s" % (port, mount), timeout=2) as answer:
            return answer.status == 200 and len(answer.read(1024)) > 0
    except OSError:
        return False


def main():
    state = os.path.abspath(sys.argv[1])
    os.makedirs(state, exist_ok=True)
    children = []

    def stop(*_):
        for child in children:
            child.terminate()
        for child in children:
            try:
                child.wait(5)
            except subprocess.TimeoutExpired:
                child.kill()
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    wav = os.path.join(state, "tone.wav")
    write_tone(wav)
    subprocess.run(["lame", "--quiet", "-b", "32", wav, os.path.join(state, "tone.mp3")], check=True)
    subprocess.run(["oggenc", "--quiet", "-q", "0", "-o", os.path.join(state, "tone.ogg"), wav], check=True)

    port = free_port()
    owner = ""
    if os.getuid() == 0:
        # Icecast refuses to run as root: it becomes its own user, which must write the logs.
        owner = "<changeowner><user>icecast2</user><group>icecast</group></changeowner>"
        shutil.chown(state, "icecast2", "icecast")
    config = os.path.join(state, "icecast.xml")
    with open(config, "w") as out:
        out.write(ICECAST_CONFIG.format(password=PASSWORD, port=port, state=state, owner=owner))
    children.append(subprocess.Popen(["icecast2", "-c", config], stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT))
    for mount, kind, name in MOUNTS:
        feed = os.path.join(state, "ezstream-%s.xml" % name)
        with open(feed, "w") as out:
            out.write(EZSTREAM_CONFIG.format(port=port, password=PASSWORD, mount=mount, format=kind,
                                             file=os.path.join(state, name)))
        os.chmod(feed, 0o600)   # ezstream refuses a configuration others may read
    deadline = time.time() + START_SECONDS
    fed = False
    while time.time() < deadline:
        if not fed and mount_plays_or_listens(port):
            for mount, kind, name in MOUNTS:
                children.append(subprocess.Popen(["ezstream", "-c", os.path.join(state, "ezstream-%s.xml" % name)],
                                                 stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT))
            fed = True
        if fed and all(mount_plays(port, mount) for mount, _, _ in MOUNTS):
            print("port %d" % port, flush=True)
            while True:
                time.sleep(3600)
        time.sleep(0.3)
    print("icecast or ezstream did not start", flush=True)
    stop()


def mount_plays_or_listens(port):
    try:
        socket.create_connection(("127.0.0.1", port), timeout=1).close()
        return True
    except OSError:
        return False


if __name__ == "__main__":
    main()
