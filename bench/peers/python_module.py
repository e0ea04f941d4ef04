"""Our side from Python: the glyphary module, as a Python program calls it.

  python_module.py caption TEXT    median ms of one 25 pt caption as a NumPy array
"""
import sys

import glyphary

from timing import median_ms_per_call


def main(argv):
    if argv[1] == "caption":
        print(median_ms_per_call(lambda: glyphary.render(argv[2], color="clNavy")))


if __name__ == "__main__":
    main(sys.argv)
