# Builds the release archive and checks what it holds:
#   check_archive.py <build dir> <archive> <tool the build made> <version>
import re
import subprocess
import sys
import zipfile

build_dir, archive, tool, version = sys.argv[1:5]
subprocess.run(["cmake", "--build", build_dir, "--target", "package"], check=True,
               stdout=subprocess.DEVNULL)

faults = []
with zipfile.ZipFile(archive) as zip_file:
    names = sorted(zip_file.namelist())
    if names != ["ZorvelSetup.exe", "readme.txt"]:
        sys.exit(f"the archive holds {names}")
    with open(tool, "rb") as built:
        if zip_file.read("ZorvelSetup.exe") != built.read():
            faults.append("ZorvelSetup.exe is not the executable the build made and checked")
    raw = zip_file.read("readme.txt")

try:
    text = raw.decode("cp932")
except UnicodeDecodeError as error:
    sys.exit(f"readme.txt is not Shift-JIS: {error}")
if re.search(rb"(?<!\r)\n|\r(?!\n)", raw) or not raw.endswith(b"\r\n"):
    faults.append("readme.txt has line ends other than CR LF")
if version not in text:
    faults.append(f"readme.txt does not name version {version}")
exit_codes = text[text.find("終了コード"):]
for code in range(5):
    if not re.search(rf"^ +{code} +\S", exit_codes, re.MULTILINE):
        faults.append(f"readme.txt does not explain exit code {code}")

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
