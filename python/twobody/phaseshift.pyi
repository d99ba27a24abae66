import os
from typing import Tuple, Union

import numpy as np
import numpy.typing as npt

def build(
    directory: Union[str, bytes, os.PathLike], write: bool = False
) -> Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], npt.NDArray[np.float64]]: ...
