# Paths beyond ASCII and past 260 characters: the profile, its image, its counter, the record.
% mkdir -p Prüf Тест l/folder-with-a-name-of-fifty-one-characters-number-1/folder-with-a-name-of-fifty-one-characters-number-2/folder-with-a-name-of-fifty-one-characters-number-3/folder-with-a-name-of-fifty-one-characters-number-4/folder-with-a-name-of-fifty-one-characters-number-5
$ bridgesim-image --out Prüf/fw-ü.bin --series other --version 02.00.00.01
> --apply Prüf/p.toml
= Prüf/p.toml image = "fw-ü.bin"
~ [1/1] sim0: reading 01.02.03.04 ... PASS (* s)
~ [1/1] sim0: programming 02.00.00.01 ... PASS (* s)
~ [1/1] sim0: verifying ... PASS (* s)
| 1 unit: 1 passed, 0 failed
& Prüf/bridgefw-record.jsonl *"profile":"Prüf/p.toml","image":{"path":"Prüf/fw-ü.bin",*"result":"pass"*
$ bridgesim-image --out Тест/fw.bin --series other --version 02.00.00.02
> --apply Тест/p.toml --record Тест/журнал.jsonl
= Тест/p.toml image = "fw.bin"
~ [1/1] sim0: reading 02.00.00.01 ... PASS (* s)
~ [1/1] sim0: programming 02.00.00.02 ... PASS (* s)
~ [1/1] sim0: verifying ... PASS (* s)
| 1 unit: 1 passed, 0 failed
& Тест/журнал.jsonl *"profile":"Тест/p.toml",*"result":"pass"*
> --apply l/folder-with-a-name-of-fifty-one-characters-number-1/folder-with-a-name-of-fifty-one-characters-number-2/folder-with-a-name-of-fifty-one-characters-number-3/folder-with-a-name-of-fifty-one-characters-number-4/folder-with-a-name-of-fifty-one-characters-number-5/p.toml
= l/folder-with-a-name-of-fifty-one-characters-number-1/folder-with-a-name-of-fifty-one-characters-number-2/folder-with-a-name-of-fifty-one-characters-number-3/folder-with-a-name-of-fifty-one-characters-number-4/folder-with-a-name-of-fifty-one-characters-number-5/p.toml serial = "L-{n}"
~ [1/1] sim0: reading 02.00.00.02 ... PASS (* s)
~ [1/1] sim0: serial L-1 ... PASS (* s)
~ [1/1] sim0: writing settings ... PASS (* s)
~ [1/1] sim0: verifying ... PASS (* s)
| 1 unit: 1 passed, 0 failed
& l/folder-with-a-name-of-fifty-one-characters-number-1/folder-with-a-name-of-fifty-one-characters-number-2/folder-with-a-name-of-fifty-one-characters-number-3/folder-with-a-name-of-fifty-one-characters-number-4/folder-with-a-name-of-fifty-one-characters-number-5/p.toml.counter 2
