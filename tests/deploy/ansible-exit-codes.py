#!/usr/bin/python3
"""deploy/ansible/vantrel.yml read as Ansible reads it: the playbook passes
Ansible's syntax check (its module names resolve), and its when,
changed_when and failed_when give each task the outcome each pair of
/check and /apply exit codes calls for. Ansible runs the playbook's own
tasks on local hosts, one per pair, with the Windows command module
replaced by a command that ends with that host's code."""
import json, os, subprocess, sys, tempfile
import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RECIPE = os.path.join(ROOT, "deploy", "ansible", "vantrel.yml")

# host: (/check code, /apply code), then the outcome of the check, the
# not-in-effect note and the apply ("-": the task did not run for the host).
CASES = {
    "compliant": ((0, None), ["ok", "skipped", "skipped"]),
    "not_in_effect": ((3, None), ["ok", "ok", "skipped"]),
    "no_check": ((2, None), ["failed", "-", "-"]),
    "applied": ((1, 0), ["ok", "skipped", "changed"]),
    "partly_applied": ((1, 1), ["ok", "skipped", "changed, failed"]),
    "nothing_written": ((1, 2), ["ok", "skipped", "failed"]),
}


def outcome(result):
    if result is None:
        return "-"
    if result.get("skipped"):
        return "skipped"
    return ", ".join(w for w, on in (("changed", result.get("changed")), ("failed", result.get("failed"))) if on) or "ok"


def main():
    env = dict(os.environ, ANSIBLE_STDOUT_CALLBACK="json", ANSIBLE_NOCOLOR="1", ANSIBLE_LOCALHOST_WARNING="0")
    subprocess.run(["ansible-playbook", "--syntax-check", "-i", "windows,", RECIPE], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    plays = yaml.safe_load(open(RECIPE))
    for play in plays:
        play["gather_facts"] = False
        for task in play["tasks"]:
            if task.pop("ansible.windows.win_command", None) is not None:
                task["ansible.builtin.command"] = "sh -c 'exit {{ codes.%s }}'" % task["register"]
    hosts = {name: {"codes": {"vantrel_check": c, "vantrel_apply": a}} for name, ((c, a), _) in CASES.items()}
    inventory = {"windows": {"hosts": hosts, "vars": {"ansible_connection": "local",
                                                      "ansible_python_interpreter": sys.executable}}}
    with tempfile.TemporaryDirectory() as work:
        for name, data in (("play.yml", plays), ("inventory.yml", inventory)):
            with open(os.path.join(work, name), "w") as f:
                yaml.safe_dump(data, f)
        run = subprocess.run(["ansible-playbook", "-i", "inventory.yml", "play.yml"], cwd=work, env=env,
                             capture_output=True, text=True)
    tasks = json.loads(run.stdout)["plays"][0]["tasks"]
    failed = 0
    for name, (codes, expected) in CASES.items():
        got = [outcome(t["hosts"].get(name)) for t in tasks]
        if got != expected:
            failed += 1
            print("ansible: %s (check, apply = %s): got %s, expected %s" % (name, codes, got, expected))
    print("ansible: %d of %d exit-code pairs as expected" % (len(CASES) - failed, len(CASES)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
