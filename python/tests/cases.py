"""The rule cases and the random boards' description that the C++ tests use
too (tests/cases/*.json)."""

import json
from pathlib import Path
from typing import Any, Dict, List

FOLDER = Path(__file__).resolve().parents[2] / "tests" / "cases"


def description(file: str) -> Dict[str, Any]:
    """The content of tests/cases/`file`.json."""
    return json.loads((FOLDER / f"{file}.json").read_text(encoding="utf-8"))


def cases(file: str, table: str = "") -> List[Any]:
    """The rows of `table` in tests/cases/`file`.json, or of the file's own
    "cases" when `table` is empty."""
    content = description(file)
    return (content[table] if table else content)["cases"]
