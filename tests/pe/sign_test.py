#!/usr/bin/env python3
"""A packager's signing step with a throwaway certificate: the signed copy
verifies, still passes the PE check as the installer, and the program as
built is left byte for byte as it was. The signed copy stays in the work
folder (signed/TarvoSetup.exe) for the tests that install it under Wine.

usage: sign_test.py cmake sign.cmake check_pe.py objdump allowed-imports.txt
                    TarvoSetup.exe work-folder
"""
import hashlib
import pathlib
import shutil
import subprocess
import sys


def run(*command):
    result = subprocess.run([str(c) for c in command], capture_output=True, text=True)
    print("$ " + " ".join(str(c) for c in command))
    print(result.stdout + result.stderr)
    return result


def digest(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def main():
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    cmake, sign, check_pe, objdump, allowed, program, work = sys.argv[1:]
    work = pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    cert, key, signed = work / "cert.pem", work / "key.pem", work / "signed" / "TarvoSetup.exe"

    made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
               "-subj", "/CN=Tarvo throwaway signer", "-addext", "extendedKeyUsage=codeSigning",
               "-keyout", key, "-out", cert)
    if made.returncode:
        sys.exit("openssl could not make the throwaway certificate")

    before = digest(program)
    if run(cmake, "-DIN=%s" % program, "-DOUT=%s" % signed, "-DCERT=%s" % cert,
           "-DKEY=%s" % key, "-P", sign).returncode:
        sys.exit("the signing step failed")
    failures = []
    if digest(program) != before:
        failures.append("the signing step changed the program as built")
    if digest(signed) == before:
        failures.append("the signed copy is the unsigned program")

    verified = run("osslsigncode", "verify", "-CAfile", cert, "-in", signed)
    if verified.returncode or "Signature verification: ok" not in verified.stdout:
        failures.append("osslsigncode does not verify the signed copy")
    if run(sys.executable, check_pe, objdump, allowed, "--installer", signed).returncode:
        failures.append("the signed copy fails the PE check")
    if failures:
        sys.exit("; ".join(failures))
    print("signed, verified and checked: %s" % signed)


if __name__ == "__main__":
    main()
