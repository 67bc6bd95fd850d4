"""Files of the batch written whole or not at all: each is written under a
temporary name beside it and renamed over it when complete, so that a
failed or interrupted job leaves the previous file, never half of a new
one. The new file gets the permissions of any new file (0666 less the
umask)."""
import contextlib
import os


def _create_beside(path):
    """A new file beside path, opened for writing: its descriptor and name."""
    for attempt in range(100):
        temporary = "%s.%d-%d.tmp" % (path, os.getpid(), attempt)
        try:
            return os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_CLOEXEC,
                           0o666), temporary
        except FileExistsError:
            continue
    raise FileExistsError("no free temporary name beside %s" % path)


@contextlib.contextmanager
def replaced(path, binary=False):
    """Opens a new file for writing (UTF-8 text with line ends as written,
    or bytes) and, when the block ends without an exception, renames it
    over path; otherwise removes it and path stays as it was."""
    handle, temporary = _create_beside(path)
    try:
        if binary:
            out = os.fdopen(handle, "wb")
        else:
            out = os.fdopen(handle, "w", encoding="utf-8", newline="")
        with out:
            yield out
        os.replace(temporary, path)
    except BaseException:
        with contextlib.suppress(FileNotFoundError):
            os.unlink(temporary)
        raise
