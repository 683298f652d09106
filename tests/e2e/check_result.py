#!/usr/bin/env python3
"""Checks a /json result file against the schema the README gives.

Usage: check_result.py RESULT.json MODE EXIT_CODE [REPORT.txt]

The file must be UTF-8 JSON holding one object with exactly the schema's
fields and types; its mode and exit code must be the ones given, and its
report the lines of the /log file when one is named. Prints the problem and
exits with 1 otherwise.
"""
import json
import sys

ITEMS = {"dataSource", "file", "alias"}
ACTIONS = {"created", "modified"}
STATUSES = {"ok", "failed", "skipped"}
FIELDS = {
    "schema": int,
    "computer": str,
    "time": str,
    "mode": str,
    "exitCode": int,
    "report": list,
    "changes": list,
    "checks": (list, type(None)),
}


def problems(result, mode, code, report):
    if not isinstance(result, dict):
        yield "not an object"
        return
    if set(result) != set(FIELDS):
        yield f"fields {sorted(result)}, expected {sorted(FIELDS)}"
        return
    for name, kind in FIELDS.items():
        if not isinstance(result[name], kind) or isinstance(result[name], bool):
            yield f"{name}: {result[name]!r} is of the wrong type"
    if result["schema"] != 1:
        yield f"schema {result['schema']}"
    if not result["computer"]:
        yield "no computer name"
    time = result["time"]
    if len(time) != 20 or time[4] != "-" or time[10] != "T" or not time.endswith("Z"):
        yield f"time {time!r} is not YYYY-MM-DDThh:mm:ssZ"
    if result["mode"] != mode:
        yield f"mode {result['mode']!r}, expected {mode!r}"
    if result["exitCode"] != code:
        yield f"exitCode {result['exitCode']}, expected {code}"
    if not all(isinstance(line, str) for line in result["report"]):
        yield "a report line is not a text"
    if report is not None and result["report"] != report:
        yield f"report {result['report']!r} differs from the log's {report!r}"
    for change in result["changes"]:
        if (not isinstance(change, dict) or set(change) != {"item", "name", "action"}
                or change["item"] not in ITEMS or change["action"] not in ACTIONS
                or not isinstance(change["name"], str)):
            yield f"change {change!r}"
    for check in result["checks"] or []:
        if (not isinstance(check, dict) or set(check) != {"status", "detail"}
                or check["status"] not in STATUSES or not isinstance(check["detail"], str)):
            yield f"check {check!r}"


def main():
    path, mode, code = sys.argv[1], sys.argv[2], int(sys.argv[3])
    report = None
    if len(sys.argv) > 4:
        with open(sys.argv[4], encoding="utf-8") as log:
            report = log.read().replace("\r\n", "\n").split("\n")[:-1]
    with open(path, "rb") as file:
        result = json.loads(file.read().decode("utf-8"))
    found = list(problems(result, mode, code, report))
    for problem in found:
        print(f"{path}: {problem}", file=sys.stderr)
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
