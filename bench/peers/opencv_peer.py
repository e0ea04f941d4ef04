"""OpenCV's side: INTER_AREA halving of a random 24-bit image.

  opencv_peer.py WIDTH HEIGHT THREADS   median ms of one halving (THREADS 0:
                                        OpenCV's own choice)
"""
import sys

import cv2
import numpy

from timing import median_ms_per_call


def main(argv):
    width, height, threads = int(argv[1]), int(argv[2]), int(argv[3])
    if threads > 0:
        cv2.setNumThreads(threads)
    image = numpy.random.default_rng(1).integers(0, 256, (height, width, 3), dtype=numpy.uint8)
    size = (width // 2, height // 2)
    print(median_ms_per_call(lambda: cv2.resize(image, size, interpolation=cv2.INTER_AREA)))


if __name__ == "__main__":
    main(sys.argv)
