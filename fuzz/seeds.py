#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/<target>/. Run it again after changing a seed."""
import json
import struct
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def frame(payload: bytes) -> bytes:
    body = bytes([len(payload) + 1]) + payload
    return b"\x55\xaa" + body + struct.pack("<H", sum(body) & 0xFFFF)


# fuzz_reassembler, any stream: 0, then items [chunk length][clock step code][chunk]; step codes
# below 200 are multiples of 3 ms, 200 is 499 ms, 201 is 500 ms, 202 is 501 ms, 203 steps back.
def items(*chunks):
    out = b"\x00"
    for step, chunk in chunks:
        out += bytes([len(chunk), step]) + chunk
    return out


# fuzz_reassembler, whole frames: 1, then items [payload length][cut][noise][payload].
def frames(*payloads):
    out = b"\x01"
    for cut, noise, payload in payloads:
        out += bytes([len(payload), cut, noise]) + payload
    return out


REPLY = frame(bytes([0x32, 0x09, 0x55]))  # 55 AA 04 32 09 55 94 00
ACK = frame(bytes([0x00, 0x01]))
BAD = bytearray(REPLY)
BAD[4] ^= 0x40
LONG = frame(bytes(range(254)))
# A frame with a wrong checksum that hides a valid one after its first byte.
HIDDEN = b"\x55\xaa\x08" + frame(bytes([0x32, 0x09])) + b"\x00\x00"

REASSEMBLER = {
    "one_reply": items((0, REPLY)),
    "split_100ms": items((0, REPLY[:4]), (33, REPLY[4:])),
    "split_stale": items((0, REPLY[:4]), (202, REPLY[4:])),
    "split_at_limit": items((0, REPLY[:4]), (201, REPLY[4:])),
    "noise_before": items((0, b"\x00\xff\x55\x13\x55"), (16, REPLY)),
    "corrupt_then_good": items((0, bytes(BAD)), (16, ACK)),
    "two_in_one_burst": items((0, REPLY + ACK)),
    "five_bytes_wait": items((0, b"\x55\xaa\x05\x01\x02"), (10, frame(b"\x01\x02\x03\x04")[5:])),
    "longest_frame": items((0, LONG[:200]), (16, LONG[200:])),
    "hidden_frame": items((0, HIDDEN)),
    "clock_back": items((0, REPLY[:3]), (203, REPLY[3:]), (0, ACK)),
    "byte_by_byte": items(*[(1, REPLY[i:i + 1]) for i in range(len(REPLY))]),
    "frames_whole": frames((0, 0, bytes([0x32, 0x09, 0x55])), (0, 0, bytes([0x00, 0x01]))),
    "frames_cut_with_noise": frames((4, 0xAA, bytes([0x32, 0x23, 0x02])), (2, 0x03, b""),
                                    (200, 0xFF, bytes(range(64)))),
}


# fuzz_jsonconfig: [path length][value kind][path][value bytes][file content]; kinds:
# 0 null, 1 bool, 2 double, 3 int32, 4 text, 5 object, 6 array.
def config(path: str, kind: int, value: bytes, content) -> bytes:
    if not isinstance(content, bytes):
        content = json.dumps(content, indent=4, ensure_ascii=False).encode()
    encoded = path.encode()
    return bytes([len(encoded), kind]) + encoded + value + content


def text(value: str) -> bytes:
    encoded = value.encode()
    return bytes([len(encoded)]) + encoded


SETTINGS = {"Language": "zh_CN", "SerialPort": {
    "PortName": "COM3", "Baudrate": 9600, "DataBits": 8, "Parity": 0, "StopBits": 1,
    "FlowCtrl": 0}}
USER = {"Channel": {"CtrlMode": "Progrem", "Current": 1, "SaveChannel": True,
                    **{str(n): {"RxFreq": 43512500, "TxFreq": 43512500, "TxPowerIndex": 0,
                                "BandwidthIndex": 1, "SQLevelIndex": 3, "CTCSSDCSIndex": -1,
                                "ScanIndex": 0} for n in range(1, 17)}},
        "TxProtect": {"Timeout": 60, "StopTime": 10}, "Volume": 5,
        "PowerSave": {"Enable": False, "SleepTime": 0, "StandbyTime": 0},
        "AudioWaveMode": "Sine", "SideTone": {"Enable": False}, "ChannelScanModeIndex": -1}
FACTORY = {"DataModFreqDiv": {"LowDiff": -3, "Mid": 120, "HighDiff": 4}, "TCXO_BIAS": 128,
           "TxPowerAdj": {f"cell{r}{c}": 100 + r * 20 + c for r in range(5) for c in range(3)},
           "BasebandSignelCouple": "DC", "RadioBandIndex": 2}

JSONCONFIG = {
    "settings_port": config("/SerialPort/PortName", 4, text("COM7"), SETTINGS),
    "settings_language": config("/Language", 4, text("en_US"), SETTINGS),
    "user_rx_freq": config("/Channel/3/RxFreq", 3, struct.pack("<i", 46000000), USER),
    "user_save_channel": config("/Channel/SaveChannel", 1, b"\x00", USER),
    "factory_couple": config("/BasebandSignelCouple", 4, text("AC"), FACTORY),
    "factory_cell": config("/TxPowerAdj/cell42", 2, struct.pack("<d", 187.0), FACTORY),
    "scalar_becomes_object": config("/Volume/Level", 3, struct.pack("<i", 1), {"Volume": 5}),
    "top_level_array": config("/Language", 4, text("zh_CN"), [1, 2, 3]),
    "null_member": config("/a", 0, b"", {"a": None, "b": 0}),
    "empty_file": config("/Language", 4, text("zh_CN"), b""),
    "truncated_file": config("/SerialPort/Baudrate", 3, struct.pack("<i", 115200),
                             b'{\n    "SerialPort": {\n        "PortName": "CO'),
    "unicode_keys": config("/频道/1", 5, text("键"), {"频道": {"1": "旧", "2": "二"}}),
    "array_value": config("/List", 6, b"\x07" + text("x"), {"List": {"a": 1}}),
}


def dump(document) -> bytes:
    return json.dumps(document, indent=4, ensure_ascii=False).encode()


FACTORY_FULL = {
    "DataModFreqDiv": {"LowDiff": -3, "Mid": 120, "HighDiff": 4},
    "VoiceModFreqDiv": {"LowDiff": -7, "Mid": 98, "HighDiff": 6},
    "AUDIO_IN": {"LowDiff": 0, "Mid": 64, "HighDiff": -1},
    "CTCSSFreqDiv": 40, "TCXO_BIAS": 128, "MOD_BIAS": 127,
    "TxPowerAdj": {f"cell{r}{c}": 100 + r * 20 + c for r in range(5) for c in range(3)},
    "2PBalanceAdj": {"LowDiff": 2, "Mid": 130, "HighDiff": -2},
    "RxFilter": {"LowDiff": -12, "Mid": 77, "HighDiff": 12},
    "RFSKLevel": 30, "R_BIAS": 140,
    "RSSIOffset": {"Low": -5, "Mid": 0, "High": 5},
    "SidetoneVol": 6, "BasebandSignelCouple": "AC", "RadioBandIndex": 3,
}
ODD_VALUES = {"Channel": {"CtrlMode": "dip", "Current": "5", "SaveChannel": 1,
                          "1": {"RxFreq": 43512500.5, "TxFreq": -1, "ScanIndex": None},
                          "16": [1, 2]},
              "TxProtect": 7, "Volume": 1e300, "AudioWaveMode": "Square",
              "TCXO_BIAS": 999, "RSSIOffset": {"Low": -200}, "RadioBandIndex": 9,
              "TxPowerAdj": {"cell00": 255, "cell42": 256}, "SidetoneVol": 2.5}
FILES = {
    "user_full": dump(USER),
    "factory_full": dump(FACTORY_FULL),
    "both_in_one": dump({**USER, **FACTORY_FULL}),
    "odd_values": dump(ODD_VALUES),
    "settings_file": dump(SETTINGS),
    "not_json": b"Channel=1\nVolume=5\n",
    "empty": b"",
}

EXAMPLE = {
    "Recipe": "Line A: LX-815 U2 for customer 47", "Revision": "3",
    "Accept": {"Models": ["LX-815 U2"], "Firmware": ["V1.4.2"]},
    "Steps": [
        {"Step": "backup", "Folder": "backups"},
        {"Step": "write-calibration", "Folder": "calibrations"},
        {"Step": "write-config", "File": "customer47.json"},
        {"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 100, "Max": 160, "Marginal": 5},
                                     "/Volume": {"Min": 5, "Max": 7}}},
        {"Step": "snapshot", "Folder": "shipped"},
    ],
}
RECIPES = {
    "example": dump(EXAMPLE),
    "buttons_and_scan": dump({**EXAMPLE, "Start": "button", "Scan": True, "Steps": [
        {"Step": "write-calibration", "File": "all.json"},
        {"Step": "read-calibration", "Folder": "read"},
        {"Step": "check", "Limits": {"/Channel/16/TxFreq": {"Min": 0, "Max": 4.9e7},
                                     "/RSSIOffset/Low": {"Min": -3.5, "Max": 3.5,
                                                         "Marginal": 0.5}}}]}),
    "calibrate": dump({**EXAMPLE, "Steps": [{"Step": "calibrate", "Instrument": "manual",
        "Points": {"Low": 45100000, "Mid": 47000000, "High": 48900000}, "MaxTransmitSeconds": 10,
        "Targets": [{"Value": "/TxPowerAdj/cell42", "Measure": "power", "Point": "High",
                     "Power": 4, "Target": 37.0, "Tolerance": 0.3},
                    {"Calibrate": "rssi", "Point": "Mid", "Levels": [10, 40]},
                    {"Calibrate": "squelch", "Point": "Low", "Levels": [0.3]}]}]}),
    "backup_after_write": dump({**EXAMPLE, "Steps": EXAMPLE["Steps"][2:] + EXAMPLE["Steps"][:1]}),
    "bad_limits": dump({**EXAMPLE, "Steps": [{"Step": "check", "Limits": {
        "/Volume": {"Min": 8, "Max": 7}, "/Nope": {"Min": 1}, "/AudioWaveMode": {},
        "/TCXO_BIAS": {"Min": 1, "Max": 2, "Marginal": -1, "Typ": 1}}}]}),
    "unknown_everything": dump({"Recipe": "", "Revision": 3, "Accept": {"Models": []},
                                "Steps": [{"Step": "calibrate"}, "x", {}], "Extra": None}),
    "not_json": b"Recipe: Line A\n",
}
GENERIC_SCPI = json.loads((Path(__file__).resolve().parent.parent / "resources" / "instruments" /
                           "generic-scpi.json").read_text(encoding="utf-8"))
NO_GENERATOR = json.loads(json.dumps(GENERIC_SCPI))
NO_GENERATOR["Commands"].update({k: None for k in ("GeneratorFrequency", "GeneratorLevel",
                                                     "GeneratorOn", "GeneratorOff")})
PROFILES = {
    "generic_scpi": dump(GENERIC_SCPI),
    "no_generator": dump(NO_GENERATOR),
    "long_forms": dump({**GENERIC_SCPI, "Name": "bench-7", "TimeoutMs": 8000, "Commands": {
        **GENERIC_SCPI["Commands"], "Reset": "*RST;*CLS",
        "AnalyserFrequency": ":SENSe:FREQuency:CENTer {hz}", "GeneratorLevel": ":SOUR:POW {dbm} DBM"}}),
    "unknown_member": dump({**GENERIC_SCPI, "Timeout": 5}),
    "wrong_placeholder": dump({**GENERIC_SCPI, "Commands": {**GENERIC_SCPI["Commands"],
                                                            "GeneratorLevel": "SOUR:POW {hz}"}}),
    "missing_command": dump({**GENERIC_SCPI, "Commands": {"Identify": "*IDN?"}}),
    "not_json": b"Identify=*IDN?\n",
}
REPLIES = {
    "power": b"+30.02\n",
    "exponent": b"-1.5E+01",
    "nan": b"9.91E37",
    "overload": b"-9.9E+37\r\n",
    "integer": b"  47000000 ",
    "unit": b"30.02 dBm",
    "list": b"1.0,2.0",
    "no_error": b'0,"No error"',
    "error": b'-222,"Data out of range"',
    "hex": b"#H1F",
    "words": b"inf",
}
# fuzz_chirpcsv: CHIRP's generic CSV as CHIRP writes it (CR LF, MHz with six decimals, the
# columns of its current and of its older versions), this tool's own export, and the malformed
# files the tests use.
CHIRP_HEADER = ("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
                "RPT2CALL,DVCODE")
CHIRP_ROWS = [
    "0,CALL,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,,,,,",
    "1,RPT1,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,,,,,",
    "2,RPT2,442.100000,+,5.000000,TSQL,88.5,141.3,023,NN,023,Tone->Tone,FM,25.00,S,5.0W,hill,,,,",
    "3,DCS,462.562500,,0.000000,DTCS,88.5,88.5,754,NN,754,Tone->Tone,NFM,12.50,,2.0W,,,,,",
    "4,SPLIT,462.675000,split,467.675000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,P,1.0W,,,,,",
    "5,AIR,124.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,,,,,,",
    "6,RX ONLY,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,25.00,,,,,,,",
    "7,CROSS,446.006250,,0.000000,Cross,88.5,88.5,023,NR,023,DTCS->Tone,NFM,6.25,,0.5W,,,,,",
    "8,REV,446.093750,,0.000000,TSQL-R,88.5,67.0,023,NN,023,Tone->Tone,NFM,6.25,,,,,,,",
]


def chirp(*rows, header=CHIRP_HEADER, end="\r\n") -> bytes:
    return (end.join((header,) + rows) + end).encode()


OWN_EXPORT = chirp(
    "1,CH1,462.562500,+,5.000000,TSQL,67.0,67.0,023,NN,023,Tone->Tone,FM,5.00,,5.0W,SQ=L2,,,,",
    "2,CH2,462.562500,-,5.000000,DTCS,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,S,2.0W,SQ=L3,,,,",
    "3,CH3,150.000000,split,450.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,1.0W,"
    "SQ=L0 Switch Signal,,,,")
CHIRP = {
    "chirp_export": chirp(*CHIRP_ROWS),
    "chirp_older_header": chirp(
        "1,CH1,146.52,,0,,88.5,88.5,023,NN,FM,5,,",
        header="Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
               "DtcsPolarity,Mode,TStep,Skip,Comment"),
    "own_export": OWN_EXPORT,
    "any_column_order": b"Mode,Frequency,Location\nNFM,446.00625,1\n",
    "bom_comments_blank_lines": b"\xef\xbb\xbf# plan\r\n" + chirp("", "#1,x", *CHIRP_ROWS[:3]),
    "quoted_fields": chirp('1,"Hill, ""North""",462.5625,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,,,,,,',
                           '2,"A\nB",462.575,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,,,,,,'),
    "unclosed_quote": chirp('1,"open,462.5625,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,,,,,,'),
    "seventeen_rows": chirp(*[f"{n},CH{n},450.{n:02d}0000,,0.000000,,88.5,88.5,023,NN,023,"
                              "Tone->Tone,FM,5.00,,1.0W,,,,," for n in range(1, 18)]),
    "odd_values": chirp(
        "1,X,146.520005,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,2.45W,SQ=L9,,,,",
        "2,X,1000.0,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,,,,,,",
        "3,X,146.94,-,500,,88.5,88.5,023,NN,023,Tone->Tone,FM,5,,,,,,,",
        "4,X,462.5625,,0,TSQL,88.5,88.4,024,NN,023,Tone->Tone,WFM,5,Q,High,,,,,",
        "20,X,,,0,DTCS,88.5,88.5,024,NR,023,Tone->Tone,FM,5,,,,,,,"),
    "no_header": chirp(*CHIRP_ROWS[:2], header=CHIRP_ROWS[2]),
    "empty": b"",
}

for target, seeds in (("fuzz_reassembler", REASSEMBLER), ("fuzz_jsonconfig", JSONCONFIG),
                      ("fuzz_userconfig", FILES), ("fuzz_factoryconfig", FILES),
                      ("fuzz_recipe", RECIPES), ("fuzz_instrumentprofile", PROFILES),
                      ("fuzz_scpireply", REPLIES), ("fuzz_chirpcsv", CHIRP)):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)
