# engine fuzz targets
