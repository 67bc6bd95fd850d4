"""A one-node Slurm cluster on this host for tests: munged, slurmctld and
slurmd started as root in the foreground from a temporary directory, with
every path (key, socket, state, spool, pids, logs) inside it and free TCP
ports, and stopped by the process ids started here."""
import os
import re
import socket
import subprocess
import time


class ClusterUnavailable(Exception):
    """The cluster cannot start here (not root, a daemon missing or failing)."""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def node_memory_mib():
    out = subprocess.run(["slurmd", "-C"], capture_output=True, text=True).stdout
    for word in out.split():
        if word.startswith("RealMemory="):
            return int(word.split("=", 1)[1])
    raise ClusterUnavailable("slurmd -C gives no RealMemory")


class OneNodeCluster:
    def __init__(self, directory):
        self.dir = directory
        self.host = socket.gethostname().split(".")[0]
        self.conf = os.path.join(directory, "slurm.conf")
        self.env = dict(os.environ, SLURM_CONF=self.conf)
        self.daemons = []

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self):
        if os.geteuid() != 0:
            raise ClusterUnavailable("not root: slurmd and munged run as root here")
        for program in ("munged", "slurmctld", "slurmd", "sbatch", "sinfo"):
            if not any(os.access(os.path.join(d, program), os.X_OK)
                       for d in os.environ.get("PATH", "").split(os.pathsep) + ["/usr/sbin"]):
                raise ClusterUnavailable(program + " is not installed")
        for sub in ("state", "spool"):
            os.makedirs(self.path(sub), exist_ok=True)
        key = self.path("munge.key")
        with open(os.open(key, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600), "wb") as f:
            f.write(os.urandom(1024))
        socket_path = self.path("munge.socket")
        self.launch(["/usr/sbin/munged", "--foreground", "--force", "--key-file=" + key,
                     "--socket=" + socket_path, "--pid-file=" + self.path("munged.pid"),
                     "--log-file=" + self.path("munged.log"),
                     "--seed-file=" + self.path("munged.seed")], "munged")
        self.wait_for(lambda: os.path.exists(socket_path), "munged", self.path("munged.log"))
        self.write_conf(socket_path)
        self.launch(["/usr/sbin/slurmctld", "-D", "-f", self.conf], "slurmctld")
        self.launch(["/usr/sbin/slurmd", "-D", "-f", self.conf, "-N", self.host], "slurmd")
        self.wait_for(self.node_idle, "slurmd", self.path("slurmd.log"))

    def write_conf(self, munge_socket):
        lines = [
            "ClusterName=zetest",
            "SlurmctldHost=" + self.host,
            "SlurmctldPort=%d" % free_port(),
            "SlurmdPort=%d" % free_port(),
            "SlurmUser=root",
            "SlurmdUser=root",
            "AuthType=auth/munge",
            "CredType=cred/munge",
            "AuthInfo=socket=" + munge_socket,
            "ProctrackType=proctrack/linuxproc",
            "TaskPlugin=task/none",
            "JobAcctGatherType=jobacct_gather/none",
            "AccountingStorageType=accounting_storage/none",
            "JobCompType=jobcomp/none",
            "SelectType=select/cons_tres",
            "SelectTypeParameters=CR_Core_Memory",
            "SchedulerType=sched/backfill",
            "MpiDefault=none",
            "ReturnToService=2",
            "StateSaveLocation=" + self.path("state"),
            "SlurmdSpoolDir=" + self.path("spool"),
            "SlurmctldPidFile=" + self.path("slurmctld.pid"),
            "SlurmdPidFile=" + self.path("slurmd.pid"),
            "SlurmctldLogFile=" + self.path("slurmctld.log"),
            "SlurmdLogFile=" + self.path("slurmd.log"),
            # At least 4 CPUs, more than a small test machine has, so that a
            # test's few short jobs all start at once: sbatch --wait polls
            # every few seconds, and jobs queued behind others add its waits.
            "SlurmdParameters=config_overrides",
            "NodeName=%s CPUs=%d RealMemory=%d State=UNKNOWN"
            % (self.host, max(4, os.cpu_count()), node_memory_mib()),
            "PartitionName=batch Nodes=%s Default=YES MaxTime=INFINITE State=UP" % self.host,
        ]
        with open(self.conf, "w") as f:
            f.write("\n".join(lines) + "\n")

    def launch(self, argv, name):
        log = open(self.path(name + ".out"), "wb")
        self.daemons.append((name, subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT,
                                                    stdin=subprocess.DEVNULL, env=self.env)))
        log.close()

    def node_idle(self):
        r = subprocess.run(["sinfo", "-h", "-N", "-o", "%T"], capture_output=True, text=True,
                           env=self.env)
        return r.returncode == 0 and r.stdout.strip() == "idle"

    def wait_for(self, ready, name, log, seconds=30):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            for daemon, process in self.daemons:
                if process.poll() is not None:
                    raise ClusterUnavailable("%s ended at start (status %d): %s"
                                             % (daemon, process.returncode, tail(log)))
            if ready():
                return
            time.sleep(0.2)
        raise ClusterUnavailable("%s not ready after %d s: %s" % (name, seconds, tail(log)))

    def finished_jobs(self):
        """Job name -> {field: value} of the jobs slurmctld still remembers."""
        out = subprocess.run(["scontrol", "-o", "show", "job"], capture_output=True, text=True,
                             env=self.env, check=True).stdout
        jobs = {}
        for line in out.splitlines():
            # Key=Value pairs apart by blanks; a value (a job name) may hold blanks.
            words = re.split(r" (?=[A-Za-z][\w/:]*=)", line.strip())
            fields = dict(word.split("=", 1) for word in words if "=" in word)
            jobs[fields.get("JobName", "")] = fields
        return jobs

    def stop(self):
        for name, process in reversed(self.daemons):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.daemons = []


def tail(path, lines=5):
    try:
        with open(path, errors="replace") as f:
            return " | ".join(f.read().splitlines()[-lines:])
    except OSError:
        return "(no log)"
